// Prints the page dialog templates; see make_pages_rc.sh.
#include <cstdio>

#include "converter/resources/pages_rc_writer.h"

int main() {
  std::string rc = pages_rc::PagesResourceScript();
  fwrite(rc.data(), 1, rc.size(), stdout);
  return 0;
}

// Prints what BuildSystemDescription computes in a fresh process, so a test can
// run it under each Windows version Wine pretends to be. Output file: argument 1.
#include <cstdio>

#include "converter/support/system_description.h"

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  BuildSystemDescription();
  FILE* file = fopen(argv[1], "wb");
  if (file == nullptr) return 1;
  fprintf(file, "%s\n%lu.%lu.%lu\n", SystemDescription, SystemPlatformId, SystemMajorVersion, SystemMinorVersion);
  fclose(file);
  return 0;
}

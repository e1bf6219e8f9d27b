// The committed page templates are the ones the catalogue makes.
#include "converter/resources/pages_rc_writer.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace {

std::string CommittedPagesRc() {
  std::string path = __FILE__;
  std::string::size_type tests = path.rfind("tests");
  if (tests == std::string::npos) return "";
  path = path.substr(0, tests) + "converter/resources/pages.rc";
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

TEST(PagesRc, CommittedTemplatesMatchTheCatalogue) {
  const std::string committed = CommittedPagesRc();
  ASSERT_FALSE(committed.empty()) << "converter/resources/pages.rc not found next to the tests";
  EXPECT_TRUE(committed == pages_rc::PagesResourceScript())
      << "pages.rc is stale: run converter/resources/make_pages_rc.sh";
}

TEST(PagesRc, TextsAreWrittenAsPlainAsciiLiterals) {
  EXPECT_EQ("\"Area, Square [length\\302\\262]\"", pages_rc::Quoted("Area, Square [length\xC2\xB2]"));
  EXPECT_EQ("\"say \"\"hi\"\" \\\\ now\"", pages_rc::Quoted("say \"hi\" \\ now"));
  EXPECT_EQ("\"\"", pages_rc::Quoted(""));
}

}  // namespace

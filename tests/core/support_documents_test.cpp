// The documents the converter and the installer ship: the help page points at
// the maker's addresses, and the text files keep Windows line ends (older
// editors show a bare LF file as one long line).
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "converter/support/web_addresses.h"

namespace {

std::string ReadDocument(const char* name) {
  std::string path = __FILE__;
  path = path.substr(0, path.find_last_of("/\\") + 1) + "../../converter/resources/docs/" + name;
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

TEST(SupportDocuments, HelpPageLinksToTheMakersPages) {
  std::string page = ReadDocument("qtrahelp.htm");
  ASSERT_FALSE(page.empty());
  EXPECT_NE(std::string::npos, page.find("<title>Quantara help</title>"));
  EXPECT_NE(std::string::npos, page.find(std::string("href=\"") + kEmailPageUrl + "\""));
  EXPECT_NE(std::string::npos, page.find(std::string("href=\"") + kWebSiteUrl + "\""));
  for (const char* item : {"Express Result as:", "Round Decimal", "No Trailing Zeros", "Clear", "1. About Quantara"}) {
    EXPECT_NE(std::string::npos, page.find(item)) << item;
  }
}

TEST(SupportDocuments, TextFilesUseWindowsLineEndsAndTheMakersAddresses) {
  for (const char* name : {"README.TXT", "MANUAL.TXT"}) {
    std::string text = ReadDocument(name);
    ASSERT_FALSE(text.empty()) << name;
    for (size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\n') {
        ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << name << ": bare LF at " << i;
      }
    }
    EXPECT_NE(std::string::npos, text.find(kWebSiteHost)) << name;
  }
}

}  // namespace

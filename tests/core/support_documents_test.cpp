// The documents the converter and the installer ship: the help page points at
// the maker's addresses, the text files keep Windows line ends (older editors
// show a bare LF file as one long line), and their examples are what the
// program shows.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "common/product.h"
#include "converter/engine/catalogue.h"
#include "converter/engine/conversion.h"
#include "converter/engine/number_reading.h"
#include "converter/engine/result_format.h"
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

// The numbers shown as examples in the documents are what the program shows:
// each one is computed here by the engine, and a decimal number in a document
// that no example accounts for fails the test.
const char* const kDocuments[] = {"README.TXT", "MANUAL.TXT", "qtrahelp.htm"};

// A document without the parts whose figures are no examples: the page's
// head (style sizes) and the version.
std::string ExampleText(const char* name) {
  std::string document = ReadDocument(name);
  size_t body = document.find("<body");
  if (body != std::string::npos) document.erase(0, body);
  for (size_t at; (at = document.find(kProductVersion)) != std::string::npos;) document.erase(at, strlen(kProductVersion));
  return document;
}

struct Example {
  const char* typed;  // text typed into the source box
  const char* source;
  const char* target;
  int notation;
  int decimals;
  int noTrailingZeros;
  const char* shown;  // text of the target box
  bool shownInDocuments;
};

// Length throughout, the tab a reader meets first.
const Example kExamples[] = {
    {"1", "Miles", "Meters", kDefaultNotation, kDefaultDecimals, kDefaultNoTrailingZeros, "1609.34", true},
    {"1", "Miles", "Meters", kDefaultNotation, kDefaultDecimals, 0, "1609.340000", true},
    {"1", "Miles", "Meters", kNotationScientific, kDefaultDecimals, kDefaultNoTrailingZeros, "1.609340E+003", true},
    {"2.5", "Meters", "Meters", kDefaultNotation, kDefaultDecimals, 0, "2.500000", true},
    {"2.5", "Meters", "Meters", kDefaultNotation, kDefaultDecimals, 1, "2.5", true},
    {"3", "Meters", "Meters", kDefaultNotation, kDefaultDecimals, 0, "3.000000", true},
    {"-12.5", "Meters", "Meters", kDefaultNotation, kDefaultDecimals, kDefaultNoTrailingZeros, "-12.500000", false},
    {"2.5e3", "Meters", "Meters", kDefaultNotation, kDefaultDecimals, kDefaultNoTrailingZeros, "2500", false},
};

int UnitIndex(const CategoryInfo& category, const char* caption) {
  for (int i = 0; i < category.unitCount; ++i)
    if (strcmp(category.units[i].caption, caption) == 0) return i;
  return -1;
}

TEST(DocumentExamples, EachExampleIsWhatTheEngineShows) {
  const CategoryInfo* length = CategoryAt(kCategoryLength);
  ASSERT_NE(nullptr, length);
  std::string all;
  for (const char* name : kDocuments) all += ExampleText(name);
  ASSERT_FALSE(all.empty());
  for (const Example& example : kExamples) {
    const int source = UnitIndex(*length, example.source);
    const int target = UnitIndex(*length, example.target);
    ASSERT_TRUE(source >= 0 && target >= 0) << example.source << " " << example.target;
    char text[kResultTextSize];
    ResultToText(ConvertValue(kCategoryLength, source, target, ReadNumber(example.typed)), example.notation,
                 example.decimals, example.noTrailingZeros, text, sizeof text);
    EXPECT_STREQ(example.shown, text) << example.typed << " " << example.source << " in " << example.target;
    EXPECT_NE(std::string::npos, all.find(example.typed)) << example.typed;
    if (example.shownInDocuments) {
      EXPECT_NE(std::string::npos, all.find(example.shown)) << example.shown;
    }
  }
}

TEST(DocumentExamples, EveryDecimalNumberInTheDocumentsIsAnExample) {
  const std::regex number("[-+]?[0-9]+\\.[0-9]+([eE][-+]?[0-9]+)?");
  for (const char* name : kDocuments) {
    const std::string document = ExampleText(name);
    ASSERT_FALSE(document.empty()) << name;
    for (std::sregex_iterator it(document.begin(), document.end(), number), end; it != end; ++it) {
      const std::string found = it->str();
      bool known = false;
      for (const Example& example : kExamples) known = known || found == example.typed || found == example.shown;
      EXPECT_TRUE(known) << name << ": " << found << " is not checked against the engine";
    }
  }
}

}  // namespace

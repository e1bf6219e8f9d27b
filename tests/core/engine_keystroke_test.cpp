// A keystroke as a page handles it: read the typed text, convert to every other
// unit, format each result with the page's options.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "converter/engine/catalogue.h"
#include "converter/engine/conversion.h"
#include "converter/engine/number_reading.h"
#include "converter/engine/result_format.h"

namespace {

std::vector<std::string> Keystroke(int category, int source, const char* typed,
                                   int notation = kDefaultNotation,
                                   int decimals = kDefaultDecimals,
                                   int noTrailingZeros = kDefaultNoTrailingZeros) {
  const double value = ReadNumber(typed);
  std::vector<std::string> shown;
  for (int t = 0; t < CategoryAt(category)->unitCount; ++t) {
    char text[kResultTextSize];
    FormatResultText(ConvertValue(category, source, t, value), notation, decimals,
                     noTrailingZeros, text, sizeof text);
    shown.push_back(t == source ? std::string(typed) : text);
  }
  return shown;
}

}  // namespace

TEST(Keystroke, TwoMiles) {
  const std::vector<std::string> expected = {"126720",  "10560", "3520",   "640",
                                             "160",     "2",     "1.737905", "3218680",
                                             "321868",  "32186.8", "3218.68", "3.21868"};
  EXPECT_EQ(expected, Keystroke(kCategoryLength, 5, "2"));
}

TEST(Keystroke, EachKeystrokeConvertsTheWholeText) {
  EXPECT_EQ("24", Keystroke(kCategoryLength, 1, "2")[0]);
  EXPECT_EQ("300", Keystroke(kCategoryLength, 1, "25")[0]);
  EXPECT_EQ("144", Keystroke(kCategoryLength, 1, "12abc")[0]);
  EXPECT_EQ("12000", Keystroke(kCategoryLength, 1, "1e3")[0]);
}

TEST(Keystroke, EmptyTextConvertsZero) {
  const std::vector<std::string> shown = Keystroke(kCategoryWeight, 0, "");
  for (size_t t = 1; t < shown.size(); ++t) EXPECT_EQ("0", shown[t]) << t;
  EXPECT_EQ("0.000000", Keystroke(kCategoryWeight, 0, "", kNotationFloat, 6, 0)[1]);
  EXPECT_EQ("0", Keystroke(kCategoryWeight, 0, "abc", kNotationShorter, 6, 0)[1]);
}

TEST(Keystroke, OverflowFillsTheOtherBoxesWithInfinity) {
  for (int category = 0; category < kCategoryCount; ++category) {
    const std::vector<std::string> shown = Keystroke(category, 0, "1e999");
    for (size_t t = 1; t < shown.size(); ++t) EXPECT_EQ("1.#INF", shown[t]) << category;
  }
  EXPECT_EQ("-1.#INF", Keystroke(kCategoryTemperature, 0, "-1e999")[4]);
}

TEST(Keystroke, AcreAndVolumeExamples) {
  EXPECT_EQ("6272640", Keystroke(kCategoryArea, 12, "1")[0]);
  EXPECT_EQ("4047", Keystroke(kCategoryArea, 12, "1")[10]);
  EXPECT_EQ("-4047.000000", Keystroke(kCategoryArea, 12, "-1")[10]);
  EXPECT_EQ("1728", Keystroke(kCategoryVolume, 1, "1")[0]);
  EXPECT_EQ("61.02374", Keystroke(kCategoryVolume, 15, "1")[0]);
  EXPECT_EQ("1.728000E+003", Keystroke(kCategoryVolume, 1, "1", kNotationScientific)[0]);
}

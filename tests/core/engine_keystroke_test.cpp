// A keystroke as a page handles it: read the typed text, convert to every other
// unit, format each result with the page's options.
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>

#include "converter/engine/catalogue.h"
#include "converter/engine/conversion.h"
#include "converter/engine/result_format.h"
#include "tests/harness/keystroke_texts.h"

namespace {

std::vector<std::string> Keystroke(int category, int source, const char* typed,
                                   int notation = kDefaultNotation,
                                   int decimals = kDefaultDecimals,
                                   int noTrailingZeros = kDefaultNoTrailingZeros) {
  return qtest::TypedTexts(category, source, typed, {notation, decimals, noTrailingZeros});
}

struct Call {
  int unit;
  std::string text;
};

void Record(void* calls, int unit, const char* text) {
  static_cast<std::vector<Call>*>(calls)->push_back({unit, text});
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

TEST(Keystroke, EveryOtherUnitOnceInUnitOrderFromOneBuffer) {
  // The page's one buffer holds the typed text and then each result.
  for (int category = 0; category < kCategoryCount; ++category) {
    const int count = CategoryAt(category)->unitCount;
    for (int source : {0, count / 2, count - 1}) {
      char buffer[kResultTextSize] = "2.5e1 typed";
      std::vector<Call> calls;
      const double read = ConvertTypedText(category, source, buffer, ResultOptions(), buffer, sizeof buffer,
                                           Record, &calls);
      EXPECT_EQ(25.0, read);
      ASSERT_EQ(static_cast<size_t>(count - 1), calls.size()) << category;
      const std::vector<std::string> alone = qtest::ConvertedTexts(category, source, 25.0);
      for (size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(static_cast<int>(i) + (static_cast<int>(i) >= source ? 1 : 0), calls[i].unit);
        EXPECT_EQ(alone[calls[i].unit], calls[i].text) << category << " unit " << calls[i].unit;
      }
    }
  }
}

TEST(Keystroke, NothingHappensWithoutACategoryBufferOrSink) {
  char text[kResultTextSize] = "untouched";
  std::vector<Call> calls;
  const struct {
    int category;
    char* buffer;
    size_t size;
    ResultSink sink;
  } cases[] = {
      {-1, text, sizeof text, Record},
      {kCategoryCount, text, sizeof text, Record},
      {kCategoryLength, nullptr, sizeof text, Record},
      {kCategoryLength, text, 0, Record},
      {kCategoryLength, text, sizeof text, nullptr},
  };
  for (const auto& c : cases) {
    ConvertTypedText(c.category, 0, "7", ResultOptions(), c.buffer, c.size, c.sink, &calls);
    EXPECT_TRUE(calls.empty()) << c.category;
    EXPECT_STREQ("untouched", text);
  }
}

TEST(Keystroke, ShortBufferGivesTerminatedTextsNeverAnOverrun) {
  char buffer[8 + 4];
  memset(buffer, 'x', sizeof buffer);
  std::vector<Call> calls;
  ConvertTypedText(kCategoryLength, 11, "1e9", ResultOptions(), buffer, 8, Record, &calls);
  ASSERT_EQ(11u, calls.size());
  for (const Call& call : calls) EXPECT_LE(call.text.size(), 7u) << call.unit;
  EXPECT_EQ(std::string(4, 'x'), std::string(buffer + 8, 4));
}

#include "converter/engine/temperature.h"

#include <gtest/gtest.h>
#include <string>

#include "converter/engine/catalogue.h"
#include "converter/engine/result_format.h"

namespace {

// The page's default options: "Float only", 6 decimals, no trailing zeros.
std::string Shown(int source, int target, double typed) {
  char text[kResultTextSize];
  ResultToText(ConvertTemperature(source, target, typed), kDefaultNotation, kDefaultDecimals,
               kDefaultNoTrailingZeros, text, sizeof text);
  return text;
}

}  // namespace

TEST(Temperature, FreezingPointOnEveryScale) {
  EXPECT_EQ("32", Shown(kCelsius, kFahrenheit, 0));
  EXPECT_EQ("491.67", Shown(kCelsius, kRankine, 0));
  EXPECT_EQ("0", Shown(kCelsius, kReaumur, 0));
  EXPECT_EQ("273.15", Shown(kCelsius, kKelvin, 0));
}

TEST(Temperature, CelsiusAndFahrenheitMeetAtMinusForty) {
  EXPECT_EQ(-40.0, ConvertTemperature(kCelsius, kFahrenheit, -40));
  // Negative texts keep their zeros even with the flag set.
  EXPECT_EQ("-40.000000", Shown(kCelsius, kFahrenheit, -40));
  EXPECT_EQ("212", Shown(kCelsius, kFahrenheit, 100));
}

TEST(Temperature, RankineHasNoOffsetEitherWay) {
  EXPECT_EQ(0.0, ConvertTemperature(kRankine, kKelvin, 0));
  EXPECT_EQ("-273.150000", Shown(kRankine, kCelsius, 0));
  EXPECT_EQ(0.7222222222222223, TemperatureToKelvin(kRankine, 1.3));
  EXPECT_EQ(-1.8, KelvinToScale(-1, kRankine));
}

TEST(Temperature, BelowAbsoluteZeroIsConvertedAllTheSame) {
  EXPECT_EQ("-274.150000", Shown(kKelvin, kCelsius, -1));
  EXPECT_EQ("-461.470000", Shown(kKelvin, kFahrenheit, -1));
  EXPECT_EQ("-1.800000", Shown(kKelvin, kRankine, -1));
  EXPECT_EQ("-219.320000", Shown(kKelvin, kReaumur, -1));
  EXPECT_EQ("-226.850000", Shown(kCelsius, kKelvin, -500));
}

// Each expected value is the formula's own order of operations and constants;
// dividing by 1.8 or 0.8, multiplying by 5/9, or converting Celsius to
// Fahrenheit directly gives a different double for these inputs.
TEST(Temperature, ConstantsAndOrderOfOperations) {
  EXPECT_EQ(-22.183333333333394, TemperatureToKelvin(kFahrenheit, -499.6));
  EXPECT_EQ(-351.725, TemperatureToKelvin(kReaumur, -499.9));
  EXPECT_EQ(-459.48999999999995, KelvinToScale(0.1, kFahrenheit));
  EXPECT_EQ(-218.36, KelvinToScale(0.2, kReaumur));
  EXPECT_EQ(-198.04000000000002, ConvertTemperature(kCelsius, kFahrenheit, -127.8));
  EXPECT_EQ(273.15000000000003, TemperatureToKelvin(kRankine, 491.67));
}

TEST(Temperature, UnknownScales) {
  EXPECT_EQ(12.5, TemperatureToKelvin(5, 12.5));
  EXPECT_EQ(12.5, TemperatureToKelvin(-1, 12.5));
  EXPECT_EQ(0.0, KelvinToScale(300, 5));
  EXPECT_EQ(0.0, KelvinToScale(300, -1));
}

TEST(Temperature, BelowAbsoluteZeroFollowsTheKelvinText) {
  EXPECT_TRUE(IsBelowAbsoluteZero("-1"));
  EXPECT_TRUE(IsBelowAbsoluteZero("-226.850000"));
  EXPECT_TRUE(IsBelowAbsoluteZero("  -0.000001 K"));
  EXPECT_TRUE(IsBelowAbsoluteZero("-1.#INF"));  // a typed -1e999 shows this text
  EXPECT_FALSE(IsBelowAbsoluteZero("1"));
  EXPECT_FALSE(IsBelowAbsoluteZero("0"));
  EXPECT_FALSE(IsBelowAbsoluteZero("-0"));
  EXPECT_FALSE(IsBelowAbsoluteZero(""));
  EXPECT_FALSE(IsBelowAbsoluteZero("abc"));
  EXPECT_FALSE(IsBelowAbsoluteZero("- 5"));
  EXPECT_FALSE(IsBelowAbsoluteZero(nullptr));
}

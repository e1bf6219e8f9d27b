#include "converter/engine/number_reading.h"

#include <cfloat>
#include <cmath>
#include <gtest/gtest.h>
#include <string>

TEST(ReadNumber, TypedTextsOfThePage) {
  EXPECT_EQ(12.0, ReadNumber("12abc"));
  EXPECT_EQ(0.0, ReadNumber("abc"));
  EXPECT_EQ(1000.0, ReadNumber("1e3"));
  EXPECT_EQ(0.0, ReadNumber(""));
  EXPECT_EQ(25.0, ReadNumber("25"));
  EXPECT_EQ(0.0, ReadNumber(nullptr));
}

TEST(ReadNumber, WhiteSpaceSignPointAndExponent) {
  EXPECT_EQ(7.0, ReadNumber(" \t\n\v\f\r7"));
  EXPECT_EQ(-0.0005, ReadNumber("-.5e-3xyz"));
  EXPECT_EQ(0.5, ReadNumber("+.5"));
  EXPECT_EQ(500.0, ReadNumber("5.e2"));
  EXPECT_EQ(0.002, ReadNumber("2E-3"));
  EXPECT_EQ(1.0, ReadNumber("1e"));   // an exponent needs digits
  EXPECT_EQ(1.0, ReadNumber("1e+"));
  EXPECT_EQ(1.0, ReadNumber("1 e5"));
  EXPECT_EQ(3.14159, ReadNumber("3.14159 26"));
  EXPECT_EQ(1.5, ReadNumber("1.5.5"));
  EXPECT_EQ(12.0, ReadNumber("12,5"));  // only "." is a decimal point
}

TEST(ReadNumber, TextsWithoutANumberReadAsPositiveZero) {
  for (const char* text : {".", "-", "+", ".e5", "-inf", "inf", "INFINITY", "nan", "NaN(1)",
                           "- 5", "\xA0" "5", "e5"}) {
    const double value = ReadNumber(text);
    EXPECT_EQ(0.0, value) << text;
    EXPECT_FALSE(std::signbit(value)) << text;
  }
  EXPECT_TRUE(std::signbit(ReadNumber("-0")));
  EXPECT_TRUE(std::signbit(ReadNumber("-0.000e7")));
}

TEST(ReadNumber, HexadecimalFormsReadTheirLeadingZero) {
  EXPECT_EQ(0.0, ReadNumber("0x1A"));
  EXPECT_EQ(0.0, ReadNumber("0x1p3"));
  EXPECT_EQ(-0.0, ReadNumber("-0X10"));
}

TEST(ReadNumber, OverflowGivesInfinityAndUnderflowZero) {
  EXPECT_EQ(INFINITY, ReadNumber("1e999"));
  EXPECT_EQ(-INFINITY, ReadNumber("-1e999"));
  EXPECT_EQ(INFINITY, ReadNumber("1e99999999999999999999"));
  EXPECT_EQ(DBL_MAX, ReadNumber("1.7976931348623158e308"));
  EXPECT_EQ(INFINITY, ReadNumber("1.7976931348623159e308"));
  EXPECT_EQ(0.0, ReadNumber("1e-999"));
  EXPECT_EQ(0.0, ReadNumber("0e99999999"));
  EXPECT_EQ(0.0, ReadNumber("2.4703282292062327e-324"));  // just below half the smallest
  EXPECT_EQ(4.9406564584124654e-324, ReadNumber("2.4703282292062328e-324"));
  EXPECT_EQ(2.2250738585072009e-308, ReadNumber("2.2250738585072009e-308"));
}

TEST(ReadNumber, NearestDoubleLikeTheCompiler) {
  EXPECT_EQ(0.1, ReadNumber("0.1"));
  EXPECT_EQ(1e23, ReadNumber("1e23"));
  EXPECT_EQ(1609.34, ReadNumber("1609.34"));
  EXPECT_EQ(0.0006213881811967937, ReadNumber("0.0006213881811967937"));
  EXPECT_EQ(2.2250738585072011e-308, ReadNumber("2.2250738585072011e-308"));
  EXPECT_EQ(8.98846567431158e307, ReadNumber("8.98846567431158e307"));
  // Exactly halfway between two doubles: the even one.
  EXPECT_EQ(9007199254740992.0, ReadNumber("9007199254740993"));
  EXPECT_EQ(9007199254740996.0, ReadNumber("9007199254740995"));
  // A long halfway text whose leading digits point at the odd neighbour.
  EXPECT_EQ(1.0000000000000009,
            ReadNumber("1.00000000000000077715611723760957829654216766357421875"));
  // Halfway plus a digit far beyond the seventeenth: the upper one.
  EXPECT_EQ(9007199254740994.0, ReadNumber("9007199254740993.00000000000000000000000000001"));
  EXPECT_EQ(123456789012345678901234567890.0, ReadNumber("123456789012345678901234567890"));
}

TEST(ReadNumber, VeryLongTexts) {
  EXPECT_EQ(0.1, ReadNumber(("0." + std::string(400, '0') + "1e400").c_str()));
  EXPECT_EQ(INFINITY, ReadNumber(("1" + std::string(900, '0')).c_str()));
  EXPECT_EQ(1.0, ReadNumber((std::string(1000, '9') + "e-1000").c_str()));
  EXPECT_EQ(1.0, ReadNumber(("1." + std::string(800, '0') + "1").c_str()));
  EXPECT_EQ(1.0, ReadNumber((std::string(500, '0') + "1").c_str()));
}

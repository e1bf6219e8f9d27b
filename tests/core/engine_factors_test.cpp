#include "converter/engine/factors.h"

#include <cmath>
#include <vector>
#include <gtest/gtest.h>

#include "converter/engine/catalogue.h"
#include "converter/engine/conversion.h"

namespace {

const int kLinear[] = {kCategoryLength, kCategoryArea,    kCategoryVolume,
                       kCategoryWeight, kCategoryDensity, kCategorySpeed};

int Units(int category) {
  return CategoryAt(category)->unitCount;
}

// Unit sizes from the international definitions, in metres, kilograms and
// seconds, worked out here independently of the program's tables.
constexpr double kInch = 0.0254, kFoot = 12 * kInch, kYard = 3 * kFoot, kMile = 5280 * kFoot;
constexpr double kPound = 0.45359237, kGrain = kPound / 7000, kOunce = kPound / 16;
constexpr double kUsGallon = 231 * kInch * kInch * kInch, kUkGallon = 0.00454609;

const std::vector<double> kLengths = {kInch, kFoot, kYard, 5.5 * kYard, 22 * kYard, kMile, 1852,
                                      0.001, 0.01, 0.1, 1, 1000};

std::vector<double> Powers(int power) {
  std::vector<double> sizes;
  for (double length : kLengths) sizes.push_back(std::pow(length, power));
  return sizes;
}

std::vector<double> Sizes(int category) {
  std::vector<double> sizes;
  switch (category) {
    case kCategoryLength:
      return kLengths;
    case kCategoryArea:
      sizes = Powers(2);
      sizes.push_back(43560 * kFoot * kFoot);  // the acre
      return sizes;
    case kCategoryVolume:
      sizes = Powers(3);
      for (double gallons : {1.0 / 8, 1.0 / 4, 1.0}) sizes.push_back(gallons * kUsGallon);
      for (double liters : {1.0, 0.01, 0.001}) sizes.push_back(liters * 0.001);
      for (double gallons : {1.0 / 16, 1.0 / 256, 1.0 / 768, 1.0 / 128}) sizes.push_back(gallons * kUsGallon);
      return sizes;
    case kCategoryWeight:
      return {0.001, 1e-6, 1, 480 * kGrain, kOunce, kPound, 2000 * kPound, 2240 * kPound, 1000, kGrain, 0.0002,
              kPound * 9.80665 / kFoot, 14 * kPound};
    case kCategoryDensity: {
      const double cubicInch = std::pow(kInch, 3), cubicFoot = std::pow(kFoot, 3), cubicYard = std::pow(kYard, 3);
      const double slug = kPound * 9.80665 / kFoot;
      return {kGrain / kUkGallon, kGrain / kUsGallon, 1000, 1, 1000, 1, 1000, 1000, 1, 0.001,
              kOunce / cubicInch, kOunce / kUkGallon, kOunce / kUsGallon, kPound / cubicInch, kPound / cubicFoot,
              kPound / kUkGallon, kPound / kUsGallon, slug / cubicFoot, 1000, 2240 * kPound / cubicYard,
              2000 * kPound / cubicYard};
    }
    case kCategorySpeed: {
      const double hour = 3600, minute = 60;
      return {0.01 / minute, 0.01, kFoot / hour, kFoot / minute, kFoot, kInch / minute, kInch, 1000 / hour, 1000,
              1852 / hour, 299792458, 340.294, 1 / hour, 1 / minute, 1, kMile / hour, kMile / minute, kMile,
              kYard / hour, kYard / minute, kYard};
    }
  }
  return sizes;
}

// Entries given as decimal constants (rounded to a few digits on purpose),
// as opposed to those worked out from the units' definitions.
bool IsListed(int category, int s, int t) {
  switch (category) {
    case kCategoryLength:
      return true;
    case kCategoryArea:  // all but the metric units' "Acre" entries
      return !(t == 12 && s >= 7 && s != 12);
    case kCategoryVolume:
      return (s < 12 && t < 12) || s == 15 || s == 10;
    case kCategoryWeight:
      return s == 0;
    case kCategoryDensity:
      return s == 5;
    case kCategorySpeed:  // its "miles/second" entry is worked out
      return s == 14 && t != 17;
  }
  return false;
}

}  // namespace

// What 1 of each unit shows in every other unit, against the exact ratio of
// the two units' sizes: listed entries to their few digits, the rest exactly.
TEST(Factors, EveryEntryAgreesWithTheUnitsDefinitions) {
  for (int category : kLinear) {
    const std::vector<double> sizes = Sizes(category);
    ASSERT_EQ(static_cast<size_t>(Units(category)), sizes.size()) << category;
    for (int s = 0; s < Units(category); ++s) {
      for (int t = 0; t < Units(category); ++t) {
        const double exact = sizes[s] / sizes[t];
        const double shown = ConvertLinear(category, s, t, 1.0);
        const double tolerance = IsListed(category, s, t) ? 2e-3 : 1e-12;
        EXPECT_NEAR(1.0, shown / exact, tolerance)
            << CategoryAt(category)->name << ": 1 " << CategoryAt(category)->units[s].caption << " = " << shown
            << " " << CategoryAt(category)->units[t].caption << ", exactly " << exact;
      }
    }
  }
}

TEST(Factors, VolumeCubesTheLinearBlockOnce) {
  EXPECT_EQ(1728.0, Factor(kCategoryVolume, 1, 0));
  EXPECT_EQ(2.143347050754458e-05, Factor(kCategoryVolume, 0, 2));  // not the Length entry's cube
  EXPECT_EQ(4.168150745660504, Factor(kCategoryVolume, 5, 11));
}

TEST(Factors, DiagonalIsOne) {
  for (int category : kLinear) {
    for (int u = 0; u < Units(category); ++u) EXPECT_EQ(1.0, Factor(category, u, u)) << category;
  }
}

TEST(ConvertLinear, ListedConstantsDecide) {
  EXPECT_EQ(1609.34, ConvertLinear(kCategoryLength, 5, 10, 1));
  EXPECT_EQ(1609340.0, ConvertLinear(kCategoryLength, 5, 7, 1));
  EXPECT_EQ(0.0006213881811967937, ConvertLinear(kCategoryLength, 10, 5, 1));
  EXPECT_EQ(6272640.0, ConvertLinear(kCategoryArea, 12, 0, 1));
  EXPECT_EQ(4047.0, ConvertLinear(kCategoryArea, 12, 10, 1));
  EXPECT_EQ(1728.0, ConvertLinear(kCategoryVolume, 1, 0, 1));
  EXPECT_EQ(61.02374, ConvertLinear(kCategoryVolume, 15, 0, 1));
}

TEST(ConvertLinear, AreaMultipliesTheValueByTheFactorTwiceInOrder) {
  // (3 * 25.4) * 25.4, not 3 * (25.4 * 25.4) = 1935.48.
  EXPECT_EQ(1935.4799999999996, ConvertLinear(kCategoryArea, 0, 7, 3));
  EXPECT_EQ(-6272640.0, ConvertLinear(kCategoryArea, 12, 0, -1));
}

TEST(ConvertLinear, SignIsKeptAndZeroStaysZero) {
  for (int category : kLinear) {
    for (int s = 0; s < Units(category); ++s) {
      for (int t = 0; t < Units(category); ++t) {
        EXPECT_EQ(0.0, ConvertLinear(category, s, t, 0.0));
        EXPECT_EQ(-ConvertLinear(category, s, t, 2.5), ConvertLinear(category, s, t, -2.5));
      }
    }
  }
}

TEST(ConvertLinear, IndexesOutsideTheTableGiveZero) {
  EXPECT_EQ(0.0, Factor(kCategoryLength, 12, 0));
  EXPECT_EQ(0.0, Factor(kCategoryLength, 0, -1));
  EXPECT_EQ(0.0, Factor(kCategoryVolume, 22, 0));
  EXPECT_EQ(0.0, Factor(kCategoryTemperature, 0, 1));
  EXPECT_EQ(0.0, Factor(7, 0, 1));
  EXPECT_EQ(0.0, ConvertLinear(kCategoryArea, 13, 0, 5));
  EXPECT_FALSE(IsLinearCategory(kCategoryTemperature));
  EXPECT_TRUE(IsLinearCategory(kCategorySpeed));
}

TEST(ConvertValue, DispatchesTemperatureToItsFormulas) {
  EXPECT_EQ(32.0, ConvertValue(kCategoryTemperature, 0, 1, 0));
  EXPECT_EQ(1609.34, ConvertValue(kCategoryLength, 5, 10, 1));
  EXPECT_EQ(0.0, ConvertValue(kCategoryTemperature, 0, 5, 10));
  EXPECT_EQ(0.0, ConvertValue(kCategoryTemperature, -1, 0, 10));
  EXPECT_EQ(0.0, ConvertValue(-1, 0, 0, 10));
}

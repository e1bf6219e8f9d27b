#include "converter/engine/catalogue.h"

#include <cstring>
#include <gtest/gtest.h>
#include <set>
#include <string>

namespace {

const CategoryInfo& Category(int tab) {
  return *CategoryAt(tab);
}

}  // namespace

TEST(Catalogue, SevenCategoriesInTabOrder) {
  const char* names[] = {"Length", "Area", "Volume", "Weight", "Density", "Speed", "Temperature"};
  const char* prefixes[] = {"Length", "Square", "Cube", "Weight", "Density", "Velocity",
                            "Temperature"};
  const int counts[] = {12, 13, 22, 13, 21, 21, 5};
  for (int tab = 0; tab < kCategoryCount; ++tab) {
    ASSERT_NE(nullptr, CategoryAt(tab));
    EXPECT_STREQ(names[tab], Category(tab).name);
    EXPECT_STREQ(prefixes[tab], Category(tab).registryPrefix);
    EXPECT_EQ(counts[tab], Category(tab).unitCount);
    EXPECT_EQ(207 + tab, Category(tab).dialogId);
  }
  EXPECT_EQ(nullptr, CategoryAt(-1));
  EXPECT_EQ(nullptr, CategoryAt(kCategoryCount));
}

TEST(Catalogue, TitlesInTheAnsiCodePage) {
  EXPECT_STREQ("Length, Distance", Category(kCategoryLength).title);
  EXPECT_STREQ("Area, Square [length\xC2\xB2]", Category(kCategoryArea).title);
  EXPECT_STREQ("Volume, Capacity, Cube [length\xC2\xB3]", Category(kCategoryVolume).title);
  EXPECT_STREQ("Weight, Mass", Category(kCategoryWeight).title);
  EXPECT_STREQ("Density [mass/volume]", Category(kCategoryDensity).title);
  EXPECT_STREQ("Speed, Velocity [length/time]", Category(kCategorySpeed).title);
  EXPECT_STREQ("Temperature", Category(kCategoryTemperature).title);
}

// Every page lays out its controls the same way, and the pages' identifier
// ranges follow one another without gap or overlap, from 1025 to 1301.
TEST(Catalogue, ControlIdentifiersOfEveryPage) {
  int nextTitle = 1025;
  for (int tab = 0; tab < kCategoryCount; ++tab) {
    const CategoryInfo& c = Category(tab);
    EXPECT_EQ(nextTitle, c.titleId) << c.name;
    EXPECT_EQ(c.titleId + 1, c.clearId) << c.name;
    EXPECT_EQ(c.clearId + 1, c.noTrailingZerosId) << c.name;
    EXPECT_EQ(c.clearId + 2, c.expressGroupId) << c.name;
    EXPECT_EQ(c.clearId + 3, c.floatRadioId) << c.name;
    EXPECT_EQ(c.clearId + 4, c.scientificRadioId) << c.name;
    EXPECT_EQ(c.clearId + 5, c.shorterRadioId) << c.name;
    EXPECT_EQ(c.clearId + 6, c.roundGroupId) << c.name;
    EXPECT_EQ(c.clearId + 7, c.decimalsListId) << c.name;
    EXPECT_EQ(c.clearId + 8, c.firstButtonId) << c.name;
    EXPECT_EQ(c.firstButtonId + c.unitCount, c.firstEditId) << c.name;
    EXPECT_EQ(c.firstEditId, c.defaultLastUsedEditId) << c.name;
    nextTitle = c.firstEditId + c.unitCount;
  }
  EXPECT_EQ(1302, nextTitle);
  EXPECT_EQ(1046, Category(kCategoryLength).firstEditId);
  EXPECT_EQ(1124, Category(kCategoryVolume).firstEditId);
  EXPECT_EQ(1262, Category(kCategorySpeed).firstEditId);
}

TEST(Catalogue, ValueNamesArePrefixedAndUnique) {
  std::set<std::string> names;
  for (int tab = 0; tab < kCategoryCount; ++tab) {
    const CategoryInfo& c = Category(tab);
    const size_t prefixLength = strlen(c.registryPrefix);
    for (const char* option : {kNoTrailingZerosValue, kExpressResultsAsValue, kRoundOffToValue,
                               kLastUsedEditValue}) {
      EXPECT_TRUE(names.insert(std::string(c.registryPrefix) + option).second);
    }
    for (int u = 0; u < c.unitCount; ++u) {
      const UnitInfo& unit = c.units[u];
      EXPECT_GT(strlen(unit.caption), 0u);
      EXPECT_EQ(0, strncmp(unit.valueName, c.registryPrefix, prefixLength)) << unit.valueName;
      EXPECT_GT(strlen(unit.valueName), prefixLength) << unit.valueName;
      EXPECT_TRUE(names.insert(unit.valueName).second) << unit.valueName;
    }
  }
  EXPECT_EQ(7u * 4 + 12 + 13 + 22 + 13 + 21 + 21 + 5, names.size());
}

// Area and Volume begin with the length units, under the same words.
TEST(Catalogue, SquareAndCubeUnitsFollowLength) {
  const CategoryInfo& length = Category(kCategoryLength);
  for (int tab : {kCategoryArea, kCategoryVolume}) {
    const CategoryInfo& c = Category(tab);
    for (int u = 0; u < length.unitCount; ++u) {
      EXPECT_STREQ(length.units[u].caption, c.units[u].caption);
      EXPECT_STREQ(length.units[u].valueName + strlen("Length"),
                   c.units[u].valueName + strlen(c.registryPrefix));
    }
  }
}

TEST(Catalogue, UnitWordsThatDoNotFollowTheCaptions) {
  EXPECT_STREQ("SquareAcres", Category(kCategoryArea).units[12].valueName);
  EXPECT_STREQ("Acre", Category(kCategoryArea).units[12].caption);
  EXPECT_STREQ("CubePint", Category(kCategoryVolume).units[12].valueName);
  EXPECT_STREQ("Mililiters", Category(kCategoryVolume).units[17].caption);
  EXPECT_STREQ("CubeMililiter", Category(kCategoryVolume).units[17].valueName);
  EXPECT_STREQ("CubeFluidOunce", Category(kCategoryVolume).units[21].valueName);
  EXPECT_STREQ("WeightMiligrams", Category(kCategoryWeight).units[1].valueName);
  EXPECT_STREQ("WeightTonsUS", Category(kCategoryWeight).units[6].valueName);
  EXPECT_STREQ("Tons (metric)", Category(kCategoryWeight).units[8].caption);
  EXPECT_STREQ("DensityGramsMilliLiter", Category(kCategoryDensity).units[4].valueName);
  EXPECT_STREQ("DensityMilligramsMilliliter", Category(kCategoryDensity).units[8].valueName);
  EXPECT_STREQ("tons (US)/yard^3", Category(kCategoryDensity).units[20].caption);
  EXPECT_STREQ("VelocityMachNumberIsaSl", Category(kCategorySpeed).units[11].valueName);
  EXPECT_STREQ("Light Speed", Category(kCategorySpeed).units[10].caption);
  EXPECT_STREQ("TemperatureKelvin", Category(kCategoryTemperature).units[4].valueName);
}

TEST(Catalogue, UnitOfAControl) {
  const CategoryInfo& length = Category(kCategoryLength);
  EXPECT_EQ(0, UnitIndexOfEdit(length, 1046));
  EXPECT_EQ(11, UnitIndexOfEdit(length, 1057));
  EXPECT_EQ(-1, UnitIndexOfEdit(length, 1058));
  EXPECT_EQ(-1, UnitIndexOfEdit(length, 1045));
  EXPECT_EQ(10, UnitIndexOfButton(length, 1044));
  EXPECT_EQ(-1, UnitIndexOfButton(length, 1046));
  EXPECT_EQ(4, UnitIndexOfEdit(Category(kCategoryTemperature), 1301));
}

TEST(Catalogue, DefaultPageOptions) {
  EXPECT_EQ(1, kDefaultNoTrailingZeros);
  EXPECT_EQ(kNotationFloat, kDefaultNotation);
  EXPECT_EQ(6, kDefaultDecimals);
  EXPECT_EQ(32, kMaxDecimals);
}

#include "converter/engine/catalogue.h"

namespace {

const UnitInfo kLengthUnits[] = {
    {"Inches", "LengthInches"},
    {"Feet", "LengthFeet"},
    {"Yards", "LengthYards"},
    {"Rods", "LengthRods"},
    {"Chains", "LengthChains"},
    {"Miles", "LengthMiles"},
    {"Sea Miles", "LengthSeaMiles"},
    {"Millimeters", "LengthMillimeters"},
    {"Centimeters", "LengthCentimeters"},
    {"Decimeters", "LengthDecimeters"},
    {"Meters", "LengthMeters"},
    {"Kilometers", "LengthKilometers"},
};

const UnitInfo kAreaUnits[] = {
    {"Inches", "SquareInches"},
    {"Feet", "SquareFeet"},
    {"Yards", "SquareYards"},
    {"Rods", "SquareRods"},
    {"Chains", "SquareChains"},
    {"Miles", "SquareMiles"},
    {"Sea Miles", "SquareSeaMiles"},
    {"Millimeters", "SquareMillimeters"},
    {"Centimeters", "SquareCentimeters"},
    {"Decimeters", "SquareDecimeters"},
    {"Meters", "SquareMeters"},
    {"Kilometers", "SquareKilometers"},
    {"Acre", "SquareAcres"},
};

const UnitInfo kVolumeUnits[] = {
    {"Inches", "CubeInches"},
    {"Feet", "CubeFeet"},
    {"Yards", "CubeYards"},
    {"Rods", "CubeRods"},
    {"Chains", "CubeChains"},
    {"Miles", "CubeMiles"},
    {"Sea Miles", "CubeSeaMiles"},
    {"Millimeters", "CubeMillimeters"},
    {"Centimeters", "CubeCentimeters"},
    {"Decimeters", "CubeDecimeters"},
    {"Meters", "CubeMeters"},
    {"Kilometers", "CubeKilometers"},
    {"Pints", "CubePint"},
    {"Quarts", "CubeQuart"},
    {"Gallons", "CubeGallon"},
    {"Liters", "CubeLiter"},
    {"Centiliters", "CubeCentiliter"},
    {"Mililiters", "CubeMililiter"},
    {"Cups", "CubeCup"},
    {"Table Spoons", "CubeTableSpoon"},
    {"Tea Spoons", "CubeTeaSpoon"},
    {"Fluid Ounces", "CubeFluidOunce"},
};

const UnitInfo kWeightUnits[] = {
    {"Grams", "WeightGrams"},
    {"Miligrams", "WeightMiligrams"},
    {"Kilograms", "WeightKilograms"},
    {"Troy Ounces", "WeightTroyOunces"},
    {"Ounces", "WeightOunces"},
    {"Pounds", "WeightPounds"},
    {"Tons (US)", "WeightTonsUS"},
    {"Tons (UK)", "WeightTonsUK"},
    {"Tons (metric)", "WeightTonsMetric"},
    {"Grains", "WeightGrains"},
    {"Carat", "WeightCarat"},
    {"Slugs", "WeightSlugs"},
    {"Stones", "WeightStones"},
};

const UnitInfo kDensityUnits[] = {
    {"grains/gallon (UK)", "DensityGrainsGallonUk"},
    {"grains/gallon (US)", "DensityGrainsGallonUs"},
    {"grams/centimeter^3", "DensityGramsCentimeter3"},
    {"grams/liter", "DensityGramsLiter"},
    {"grams/milliliter", "DensityGramsMilliLiter"},
    {"kilograms/meter^3", "DensityKilogramsMeter3"},
    {"kilograms/liter", "DensityKilogramsLiter"},
    {"megagrams/meter^3", "DensityMegagramsMeter3"},
    {"milligrams/milliliter", "DensityMilligramsMilliliter"},
    {"milligrams/liter", "DensityMilligramsLiter"},
    {"ounces/inch^3", "DensityOuncesInch3"},
    {"ounces/gallon (UK)", "DensityOuncesGallonUk"},
    {"ounces/gallon (US)", "DensityOuncesGallonUs"},
    {"pounds/inch^3", "DensityPoundsInch3"},
    {"pounds/foot^3", "DensityPoundsFoot3"},
    {"pounds/gallon (UK)", "DensityPoundsGallonUk"},
    {"pounds/gallon (US)", "DensityPoundsGallonUs"},
    {"slugs/foot^3", "DensitySlugsFoot3"},
    {"tonnes/meter^3", "DensityTonnesMeter3"},
    {"tons (UK)/yard^3", "DensityTonsUkYard3"},
    {"tons (US)/yard^3", "DensityTonsUsYard3"},
};

const UnitInfo kSpeedUnits[] = {
    {"centimeters/minute", "VelocityCentimetersMinute"},
    {"centimeters/second", "VelocityCentimetersSecond"},
    {"feet/hour", "VelocityFeetHour"},
    {"feet/minute", "VelocityFeetMinute"},
    {"feet/second", "VelocityFeetSecond"},
    {"inches/minute", "VelocityInchesMinute"},
    {"inches/second", "VelocityInchesSecond"},
    {"kilometers/hour", "VelocityKilometersHour"},
    {"kilometers/second", "VelocityKilometersSecond"},
    {"knots", "VelocityKnots"},
    {"Light Speed", "VelocityLightSpeed"},
    {"mach number (isa/sl)", "VelocityMachNumberIsaSl"},
    {"meters/hour", "VelocityMetersHour"},
    {"meters/minute", "VelocityMetersMinute"},
    {"meters/second", "VelocityMetersSecond"},
    {"miles/hour", "VelocityMilesHour"},
    {"miles/minute", "VelocityMilesMinute"},
    {"miles/second", "VelocityMilesSecond"},
    {"yards/hour", "VelocityYardsHour"},
    {"yards/minute", "VelocityYardsMinute"},
    {"yards/second", "VelocityYardsSecond"},
};

const UnitInfo kTemperatureUnits[] = {
    {"Celsius", "TemperatureCelsius"},
    {"Fahrenheit", "TemperatureFahrenheit"},
    {"Rankine", "TemperatureRankine"},
    {"Reaumur", "TemperatureReaumur"},
    {"Kelvin", "TemperatureKelvin"},
};

template <int N>
constexpr int CountOf(const UnitInfo (&)[N]) {
  return N;
}

// Columns: tab text, dialog, title, title control, prefix, units, first button,
// first edit box, Clear, check box, group, three radios, group, list, default
// last used edit box, unit list.
const CategoryInfo kCategories[kCategoryCount] = {
    {"Length", 207, "Length, Distance", 1025, "Length", CountOf(kLengthUnits),
     1034, 1046, 1026, 1027, 1028, 1029, 1030, 1031, 1032, 1033, 1046, kLengthUnits},
    {"Area", 208, "Area, Square [length\xC2\xB2]", 1058, "Square", CountOf(kAreaUnits),
     1067, 1080, 1059, 1060, 1061, 1062, 1063, 1064, 1065, 1066, 1080, kAreaUnits},
    {"Volume", 209, "Volume, Capacity, Cube [length\xC2\xB3]", 1093, "Cube",
     CountOf(kVolumeUnits), 1102, 1124, 1094, 1095, 1096, 1097, 1098, 1099, 1100, 1101,
     1124, kVolumeUnits},
    {"Weight", 210, "Weight, Mass", 1146, "Weight", CountOf(kWeightUnits),
     1155, 1168, 1147, 1148, 1149, 1150, 1151, 1152, 1153, 1154, 1168, kWeightUnits},
    {"Density", 211, "Density [mass/volume]", 1181, "Density", CountOf(kDensityUnits),
     1190, 1211, 1182, 1183, 1184, 1185, 1186, 1187, 1188, 1189, 1211, kDensityUnits},
    {"Speed", 212, "Speed, Velocity [length/time]", 1232, "Velocity",
     CountOf(kSpeedUnits), 1241, 1262, 1233, 1234, 1235, 1236, 1237, 1238, 1239, 1240,
     1262, kSpeedUnits},
    {"Temperature", 213, "Temperature", 1283, "Temperature", CountOf(kTemperatureUnits),
     1292, 1297, 1284, 1285, 1286, 1287, 1288, 1289, 1290, 1291, 1297,
     kTemperatureUnits},
};

int IndexInRange(int id, int first, int count) {
  return id >= first && id < first + count ? id - first : -1;
}

}  // namespace

const CategoryInfo* CategoryAt(int tab) {
  return tab >= 0 && tab < kCategoryCount ? &kCategories[tab] : nullptr;
}

int UnitIndexOfEdit(const CategoryInfo& category, int controlId) {
  return IndexInRange(controlId, category.firstEditId, category.unitCount);
}

int UnitIndexOfButton(const CategoryInfo& category, int controlId) {
  return IndexInRange(controlId, category.firstButtonId, category.unitCount);
}

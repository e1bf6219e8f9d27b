// Conversion factor tables of the six linear categories. Row = the unit typed
// in (source), column = the unit shown (target).
//
// The listed entries are decimal constants rounded each on its own, so an entry
// and its mirror are in general not exact reciprocals; they are kept as given,
// apart from two that were plainly wrong (see kAcreColumn and kMetersPerSecondRow).
// Every entry with no listed value is size[s] / size[t], computed at compile
// time in double precision from the units' exact definitions below.
#include "converter/engine/factors.h"

#include "converter/engine/catalogue.h"

namespace {

constexpr int kLengthCount = 12;
constexpr int kAreaCount = 13;
constexpr int kVolumeCount = 22;
constexpr int kWeightCount = 13;
constexpr int kDensityCount = 21;
constexpr int kSpeedCount = 21;

constexpr int kAcre = 12;         // Area
constexpr int kCubicMeters = 10;  // Volume
constexpr int kFirstCapacity = 12;
constexpr int kLiters = 15;
constexpr int kCubicInches = 0;
constexpr int kCubicYards = 2;
constexpr int kGrams = 0;                 // Weight
constexpr int kKilogramsPerCubicMeter = 5;  // Density
constexpr int kMetersPerSecond = 14;      // Speed

// Length, complete: Inches, Feet, Yards, Rods, Chains, Miles, Sea Miles,
// Millimeters, Centimeters, Decimeters, Meters, Kilometers.
constexpr double kLength[kLengthCount][kLengthCount] = {
    // from Inches
    {1, 0.08333333333333333, 0.02777777777777778, 0.00505050505050505,
     0.0012626262626262625, 1.578325980239856e-05, 1.3714902807775378e-05, 25.4, 2.54,
     0.254, 0.0254, 2.54e-05},
    // from Feet
    {12, 1, 0.3333333333333333, 0.06060606060606061, 0.01515, 0.0001894,
     0.00016457883369330455, 304.8, 30.48, 3.048, 0.3048, 0.0003048},
    // from Yards
    {36, 3, 1, 0.1818181818181818, 0.04545, 0.0005682, 0.0004937365010799136, 914.4, 91.44,
     9.144, 0.9144, 0.0009144},
    // from Rods
    {198, 16.5, 5.5, 1, 0.25, 0.003125, 0.002715550755939525, 5029.2, 502.92, 50.292,
     5.0292, 0.0050292},
    // from Chains
    {792, 66, 22, 4, 1, 0.0125, 0.0108622030237581, 20116.8, 2011.68, 201.168, 20.1168,
     0.0201168},
    // from Miles
    {63360, 5280, 1760, 320, 80, 1, 0.8689524838012959, 1609340, 160934, 16093.4, 1609.34,
     1.60934},
    // from Sea Miles
    {72913.38582677166, 6076.115485564304, 2025.3718285214347, 368.24942336753355,
     92.06235584188339, 1.1508109115764618, 1, 1852000, 185200, 18520, 1852, 1.852},
    // from Millimeters
    {0.03937, 0.003281, 0.0010936, 0.00019883878151594686, 4.971e-05, 6.213881811967937e-07,
     5.399568034557235e-07, 1, 0.1, 0.01, 0.001, 1e-06},
    // from Centimeters
    {0.3937, 0.03281, 0.010936, 0.0019883878151594685, 0.0004971, 6.213881811967937e-06,
     5.399568034557236e-06, 10, 1, 0.1, 0.01, 1e-05},
    // from Decimeters
    {3.937, 0.3281, 0.10936, 0.019883878151594685, 0.004971, 6.213881811967936e-05,
     5.399568034557236e-05, 100, 10, 1, 0.1, 0.0001},
    // from Meters
    {39.37, 3.281, 1.0936, 0.19883878151594686, 0.04971, 0.0006213881811967937,
     0.0005399568034557236, 1000, 100, 10, 1, 0.001},
    // from Kilometers
    {39370, 3281, 1093.6, 198.83878151594686, 49.71, 0.6213881811967937, 0.5399568034557236,
     1000000, 100000, 10000, 1000, 1},
};

// Exact sizes, in metres, seconds and kilograms, from the international
// definitions of the units.
constexpr double kInch = 0.0254;
constexpr double kFoot = 0.3048;
constexpr double kYard = 0.9144;
constexpr double kRod = 16.5 * kFoot;
constexpr double kChain = 66 * kFoot;
constexpr double kMile = 1609.344;
constexpr double kNauticalMile = 1852;
constexpr double kCubicInch = kInch * kInch * kInch;
constexpr double kLiter = 0.001;
constexpr double kUsGallon = 231 * kCubicInch;
constexpr double kUkGallon = 4.54609 * kLiter;
constexpr double kPound = 0.45359237;
constexpr double kOunce = kPound / 16;
constexpr double kGrain = kPound / 7000;
constexpr double kStandardGravity = 9.80665;
constexpr double kSlug = kPound * kStandardGravity / kFoot;
constexpr double kMinute = 60;
constexpr double kHour = 3600;
constexpr double kAcreSquareMeters = 4046.8564224;

constexpr double Cube(double f) {
  return (f * f) * f;
}

// Newton's iteration; std::sqrt is not usable in a constant expression.
constexpr double SquareRoot(double a) {
  double x = a;
  for (int i = 0; i < 64; ++i) x = (x + a / x) / 2;
  return x;
}

// Area: factor from each length unit to "Acre" (side lengths, like the rest of
// the Area table, which is applied twice). The five metric entries were listed
// as if an acre were 4166.7 square metres; they are the metric unit's length
// over the side of one acre's square.
constexpr double kAcreSide = SquareRoot(kAcreSquareMeters);
constexpr double kAcreColumn[kLengthCount] =
    {0.0003992766841666667, 0.00479132021, 0.01437396063, 0.07905694150420949,
     0.31622776601683794, 25.298221281347036, 29.112745481411455, 0.001 / kAcreSide,
     0.01 / kAcreSide, 0.1 / kAcreSide, 1 / kAcreSide, 1000 / kAcreSide};

// Area: from "Acre" to each Area unit.
constexpr double kAcreRow[kAreaCount] =
    {2504.5239068533565, 208.71032557111303, 69.57010852370435, 12.649110640673518,
     3.1622776601683795, 0.039496835316262996, 0.0343492165875768, 63616.03571427569,
     6361.603571427569, 636.1603571427569, 63.61603571427569, 0.0636160357142757, 1};

// Volume, from "Liters" to each Volume unit. Its first twelve entries are cubic
// length units per litre, used as they stand.
constexpr double kLitersRow[kVolumeCount] =
    {61.02374, 0.03531467, 0.001307951, 7.861460745605219e-06, 1.2283532415008154e-07,
     2.399324214390982e-13, 1.5742620412241172e-13, 1000000, 1000, 1, 0.001,
     9.999999328993601e-13, 2.113376, 1.056688, 0.2641721, 1, 100, 1000, 4.226753, 67.62804,
     202.8841, 33.81402};

// Volume, from cubic "Meters" to "Pints" ... "Fluid Ounces".
constexpr double kCubicMetersToCapacity[kVolumeCount - kFirstCapacity] =
    {2113.376, 1056.688, 264.1721, 1000, 100000, 1000000, 4226.753, 67628.04, 202884.1,
     33814.02};

// The Volume block of cubic length units starts from the Length table with this
// one entry different ("Inches" to "Yards").
constexpr double kVolumeInchesToYards = 0.027777777777777776;

// Each unit's size in unit order: cubic metres, kilograms, kilograms per cubic
// metre, metres per second.
constexpr double kVolumeSize[kVolumeCount] =
    {kCubicInch, Cube(kFoot), Cube(kYard), Cube(kRod), Cube(kChain), Cube(kMile),
     Cube(kNauticalMile), 1e-9, 1e-6, 1e-3, 1, 1e9,
     kUsGallon / 8, kUsGallon / 4, kUsGallon, kLiter, kLiter / 100, kLiter / 1000,
     kUsGallon / 16, kUsGallon / 256, kUsGallon / 768, kUsGallon / 128};

// Weight, from "Grams".
constexpr double kGramsRow[kWeightCount] =
    {1, 1000, 0.001, 0.03215, 0.0352739619, 0.0022046226, 1.1023e-06, 9.842e-07, 1e-06,
     15.432358, 5, 6.852178e-05, 0.0001575};

constexpr double kWeightSize[kWeightCount] =
    {1e-3, 1e-6, 1, 480 * kGrain, kOunce, kPound, 2000 * kPound, 2240 * kPound, 1000, kGrain,
     2e-4, kSlug, 14 * kPound};

// Density, from "kilograms/meter^3".
constexpr double kKilogramsPerCubicMeterRow[kDensityCount] =
    {70.156, 58.418, 0.001, 1, 0.001, 1, 0.001, 0.001, 1, 1000, 0.000578, 0.160358613,
     0.133526466, 3.6127e-05, 0.062427962, 0.010022413, 0.008345404, 0.00194055, 0.001,
     0.00075248, 0.000842777};

constexpr double kDensitySize[kDensityCount] =
    {kGrain / kUkGallon, kGrain / kUsGallon, 1000, 1, 1000, 1, 1000, 1000, 1, 1e-3,
     kOunce / kCubicInch, kOunce / kUkGallon, kOunce / kUsGallon, kPound / kCubicInch,
     kPound / Cube(kFoot), kPound / kUkGallon, kPound / kUsGallon, kSlug / Cube(kFoot), 1000,
     2240 * kPound / Cube(kYard), 2000 * kPound / Cube(kYard)};

// Speed, from "meters/second". Its "miles/second" entry was listed as
// 0.0006, 3.4 % off; a mile is 1609.344 metres.
constexpr double kMetersPerSecondRow[kSpeedCount] =
    {6000.00005392944, 100.000000898824, 11811.0009432057, 196.850671889002,
     3.28084453148337, 2362.20341252887, 39.3701881094416, 3.60000999999559,
     0.000999999999998774, 1.94384617178697, 3.33566830113849e-09, 0.00293864146017519,
     3599.99928, 60, 1, 2.23690002010579, 0.0373000003352613, 1 / kMile,
     3937.0000353867, 65.6168005897795, 1.09360000982954};

constexpr double kSpeedSize[kSpeedCount] =
    {0.01 / kMinute, 0.01, kFoot / kHour, kFoot / kMinute, kFoot, kInch / kMinute, kInch,
     1000 / kHour, 1000, kNauticalMile / kHour, 299792458, 340.294, 1 / kHour, 1 / kMinute, 1,
     kMile / kHour, kMile / kMinute, kMile, kYard / kHour, kYard / kMinute, kYard};

template <int N>
struct Table {
  double f[N][N];
};

constexpr Table<kAreaCount> BuildArea() {
  Table<kAreaCount> table{};
  for (int s = 0; s < kLengthCount; ++s) {
    for (int t = 0; t < kLengthCount; ++t) table.f[s][t] = kLength[s][t];
    table.f[s][kAcre] = kAcreColumn[s];
  }
  for (int t = 0; t < kAreaCount; ++t) table.f[kAcre][t] = kAcreRow[t];
  return table;
}

// The cubic length block holds the cube of each linear entry, multiplied in the
// order (f * f) * f, so the table is ready without a preparation step.
constexpr Table<kVolumeCount> BuildVolume() {
  Table<kVolumeCount> table{};
  for (int s = 0; s < kVolumeCount; ++s) {
    for (int t = 0; t < kVolumeCount; ++t) {
      if (s < kFirstCapacity && t < kFirstCapacity) {
        double linear = kLength[s][t];
        if (s == kCubicInches && t == kCubicYards) linear = kVolumeInchesToYards;
        table.f[s][t] = Cube(linear);
      } else if (s == kCubicMeters && t >= kFirstCapacity) {
        table.f[s][t] = kCubicMetersToCapacity[t - kFirstCapacity];
      } else {
        table.f[s][t] = kVolumeSize[s] / kVolumeSize[t];
      }
    }
  }
  for (int t = 0; t < kVolumeCount; ++t) table.f[kLiters][t] = kLitersRow[t];
  return table;
}

template <int N>
constexpr Table<N> BuildFromSizes(const double (&size)[N], const double (&row)[N], int reference) {
  Table<N> table{};
  for (int s = 0; s < N; ++s) {
    for (int t = 0; t < N; ++t) table.f[s][t] = size[s] / size[t];
  }
  for (int t = 0; t < N; ++t) table.f[reference][t] = row[t];
  return table;
}

constexpr Table<kAreaCount> kArea = BuildArea();
constexpr Table<kVolumeCount> kVolume = BuildVolume();
constexpr Table<kWeightCount> kWeight = BuildFromSizes(kWeightSize, kGramsRow, kGrams);
constexpr Table<kDensityCount> kDensity =
    BuildFromSizes(kDensitySize, kKilogramsPerCubicMeterRow, kKilogramsPerCubicMeter);
constexpr Table<kSpeedCount> kSpeed = BuildFromSizes(kSpeedSize, kMetersPerSecondRow, kMetersPerSecond);

template <int N>
double Lookup(const double (&table)[N][N], int source, int target) {
  if (source < 0 || source >= N || target < 0 || target >= N) return 0.0;
  return table[source][target];
}

}  // namespace

bool IsLinearCategory(int category) {
  return category >= kCategoryLength && category <= kCategorySpeed;
}

double Factor(int category, int source, int target) {
  switch (category) {
    case kCategoryLength:
      return Lookup(kLength, source, target);
    case kCategoryArea:
      return Lookup(kArea.f, source, target);
    case kCategoryVolume:
      return Lookup(kVolume.f, source, target);
    case kCategoryWeight:
      return Lookup(kWeight.f, source, target);
    case kCategoryDensity:
      return Lookup(kDensity.f, source, target);
    case kCategorySpeed:
      return Lookup(kSpeed.f, source, target);
    default:
      return 0.0;
  }
}

double ConvertLinear(int category, int source, int target, double value) {
  const double factor = Factor(category, source, target);
  if (category == kCategoryArea) return (value * factor) * factor;
  return value * factor;
}

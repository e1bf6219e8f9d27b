#include "converter/engine/factors.h"

#include <cmath>
#include <gtest/gtest.h>

#include "converter/engine/catalogue.h"
#include "converter/engine/conversion.h"

namespace {

// The published factors, typed in from the unit tables.
const double kListedLength[12][12] = {
    {1, 0.08333333333333333, 0.02777777777777778, 0.00505050505050505, 0.0012626262626262625,
     1.578325980239856e-05, 1.3714902807775378e-05, 25.4, 2.54, 0.254, 0.0254, 2.54e-05},
    {12, 1, 0.3333333333333333, 0.06060606060606061, 0.01515, 0.0001894, 0.00016457883369330455,
     304.8, 30.48, 3.048, 0.3048, 0.0003048},
    {36, 3, 1, 0.1818181818181818, 0.04545, 0.0005682, 0.0004937365010799136, 914.4, 91.44,
     9.144, 0.9144, 0.0009144},
    {198, 16.5, 5.5, 1, 0.25, 0.003125, 0.002715550755939525, 5029.2, 502.92, 50.292, 5.0292,
     0.0050292},
    {792, 66, 22, 4, 1, 0.0125, 0.0108622030237581, 20116.8, 2011.68, 201.168, 20.1168,
     0.0201168},
    {63360, 5280, 1760, 320, 80, 1, 0.8689524838012959, 1609340, 160934, 16093.4, 1609.34,
     1.60934},
    {72913.38582677166, 6076.115485564304, 2025.3718285214347, 368.24942336753355,
     92.06235584188339, 1.1508109115764618, 1, 1852000, 185200, 18520, 1852, 1.852},
    {0.03937, 0.003281, 0.0010936, 0.00019883878151594686, 4.971e-05, 6.213881811967937e-07,
     5.399568034557235e-07, 1, 0.1, 0.01, 0.001, 1e-06},
    {0.3937, 0.03281, 0.010936, 0.0019883878151594685, 0.0004971, 6.213881811967937e-06,
     5.399568034557236e-06, 10, 1, 0.1, 0.01, 1e-05},
    {3.937, 0.3281, 0.10936, 0.019883878151594685, 0.004971, 6.213881811967936e-05,
     5.399568034557236e-05, 100, 10, 1, 0.1, 0.0001},
    {39.37, 3.281, 1.0936, 0.19883878151594686, 0.04971, 0.0006213881811967937,
     0.0005399568034557236, 1000, 100, 10, 1, 0.001},
    {39370, 3281, 1093.6, 198.83878151594686, 49.71, 0.6213881811967937, 0.5399568034557236,
     1000000, 100000, 10000, 1000, 1},
};
const double kListedAcreColumn[12] = {
    0.0003992766841666667, 0.00479132021, 0.01437396063, 0.07905694150420949,
    0.31622776601683794, 25.298221281347036, 29.112745481411455, 1.5491933384829667e-05,
    0.00015491933384829666, 0.0015491933384829668, 0.015491933384829668, 15.491933384829668};
const double kListedAcreRow[13] = {
    2504.5239068533565, 208.71032557111303, 69.57010852370435, 12.649110640673518,
    3.1622776601683795, 0.039496835316262996, 0.0343492165875768, 63616.03571427569,
    6361.603571427569, 636.1603571427569, 63.61603571427569, 0.0636160357142757, 1};
const double kListedLitersRow[22] = {
    61.02374, 0.03531467, 0.001307951, 7.861460745605219e-06, 1.2283532415008154e-07,
    2.399324214390982e-13, 1.5742620412241172e-13, 1000000, 1000, 1, 0.001,
    9.999999328993601e-13, 2.113376, 1.056688, 0.2641721, 1, 100, 1000, 4.226753, 67.62804,
    202.8841, 33.81402};
const double kListedCubicMetersToCapacity[10] = {
    2113.376, 1056.688, 264.1721, 1000, 100000, 1000000, 4226.753, 67628.04, 202884.1, 33814.02};
const double kListedGramsRow[13] = {
    1, 1000, 0.001, 0.03215, 0.0352739619, 0.0022046226, 1.1023e-06, 9.842e-07, 1e-06,
    15.432358, 5, 6.852178e-05, 0.0001575};
const double kListedKilogramsPerCubicMeterRow[21] = {
    70.156, 58.418, 0.001, 1, 0.001, 1, 0.001, 0.001, 1, 1000, 0.000578, 0.160358613,
    0.133526466, 3.6127e-05, 0.062427962, 0.010022413, 0.008345404, 0.00194055, 0.001,
    0.00075248, 0.000842777};
const double kListedMetersPerSecondRow[21] = {
    6000.00005392944, 100.000000898824, 11811.0009432057, 196.850671889002, 3.28084453148337,
    2362.20341252887, 39.3701881094416, 3.60000999999559, 0.000999999999998774,
    1.94384617178697, 3.33566830113849e-09, 0.00293864146017519, 3599.99928, 60, 1,
    2.23690002010579, 0.0373000003352613, 0.000600000005392944, 3937.0000353867,
    65.6168005897795, 1.09360000982954};

const int kLinear[] = {kCategoryLength, kCategoryArea,    kCategoryVolume,
                       kCategoryWeight, kCategoryDensity, kCategorySpeed};

int Units(int category) {
  return CategoryAt(category)->unitCount;
}

double Cube(double f) {
  return (f * f) * f;
}

}  // namespace

TEST(Factors, LengthAndAreaHoldTheListedEntries) {
  for (int s = 0; s < 12; ++s) {
    for (int t = 0; t < 12; ++t) {
      EXPECT_EQ(kListedLength[s][t], Factor(kCategoryLength, s, t)) << s << " " << t;
      EXPECT_EQ(kListedLength[s][t], Factor(kCategoryArea, s, t)) << s << " " << t;
    }
    EXPECT_EQ(kListedAcreColumn[s], Factor(kCategoryArea, s, 12)) << s;
  }
  for (int t = 0; t < 13; ++t) EXPECT_EQ(kListedAcreRow[t], Factor(kCategoryArea, 12, t)) << t;
}

TEST(Factors, VolumeHoldsTheListedEntriesAndTheLengthBlockCubedOnce) {
  const int liters = 15, cubicMeters = 10;
  for (int t = 0; t < 22; ++t) {
    EXPECT_EQ(kListedLitersRow[t], Factor(kCategoryVolume, liters, t)) << t;
  }
  for (int t = 12; t < 22; ++t) {
    EXPECT_EQ(kListedCubicMetersToCapacity[t - 12], Factor(kCategoryVolume, cubicMeters, t)) << t;
  }
  for (int s = 0; s < 12; ++s) {
    for (int t = 0; t < 12; ++t) {
      const double linear = s == 0 && t == 2 ? 0.027777777777777776 : kListedLength[s][t];
      EXPECT_EQ(Cube(linear), Factor(kCategoryVolume, s, t)) << s << " " << t;
    }
  }
  EXPECT_EQ(1728.0, Factor(kCategoryVolume, 1, 0));
  EXPECT_EQ(2.143347050754458e-05, Factor(kCategoryVolume, 0, 2));  // not the Length entry's cube
  EXPECT_EQ(4.168150745660504, Factor(kCategoryVolume, 5, 11));
}

TEST(Factors, ReferenceRowsAreListedEntries) {
  for (int t = 0; t < 13; ++t) EXPECT_EQ(kListedGramsRow[t], Factor(kCategoryWeight, 0, t)) << t;
  for (int t = 0; t < 21; ++t) {
    EXPECT_EQ(kListedKilogramsPerCubicMeterRow[t], Factor(kCategoryDensity, 5, t)) << t;
    EXPECT_EQ(kListedMetersPerSecondRow[t], Factor(kCategorySpeed, 14, t)) << t;
  }
}

TEST(Factors, DiagonalIsOne) {
  for (int category : kLinear) {
    for (int u = 0; u < Units(category); ++u) EXPECT_EQ(1.0, Factor(category, u, u)) << category;
  }
}

// Derived entries: Weight, Density and Speed outside their reference row, and
// Volume's capacity rows and the capacity columns of the cubic length rows.
TEST(Factors, DerivedEntryAndItsMirrorAreReciprocal) {
  struct Derived {
    int category;
    int reference;
  };
  for (Derived d : {Derived{kCategoryWeight, 0}, Derived{kCategoryDensity, 5},
                    Derived{kCategorySpeed, 14}, Derived{kCategoryVolume, 15}}) {
    for (int s = 0; s < Units(d.category); ++s) {
      for (int t = 0; t < Units(d.category); ++t) {
        const bool derived = d.category == kCategoryVolume
                                 ? s != 15 && (s >= 12 || (t >= 12 && s != 10))
                                 : s != d.reference;
        if (!derived) continue;
        const double product = Factor(d.category, s, t) * Factor(d.category, t, s);
        EXPECT_NEAR(1.0, product, 1e-6) << d.category << " " << s << " " << t;
      }
    }
  }
}

TEST(Factors, PhysicalSizesOfSomeUnits) {
  EXPECT_NEAR(0.514444, Factor(kCategorySpeed, 9, 14), 1e-6);        // knots to m/s
  EXPECT_NEAR(340.29, Factor(kCategorySpeed, 11, 14), 0.01);         // mach to m/s
  EXPECT_NEAR(3.785, Factor(kCategoryVolume, 14, 15), 0.001);        // US gallon to litres
  EXPECT_NEAR(473.18, Factor(kCategoryVolume, 12, 17), 0.01);        // US pint to ml
  EXPECT_NEAR(28.875, Factor(kCategoryVolume, 12, 0), 0.001);        // US pint to cubic inches
  EXPECT_NEAR(31.1, Factor(kCategoryWeight, 3, 0), 0.01);            // troy ounce to grams
  EXPECT_NEAR(453.59, Factor(kCategoryWeight, 5, 0), 0.01);          // pound to grams
  EXPECT_NEAR(1186.55, Factor(kCategoryDensity, 20, 5), 0.01);       // tons (US)/yd^3 to kg/m^3
  EXPECT_NEAR(16.0185, Factor(kCategoryDensity, 14, 5), 0.001);      // lb/ft^3 to kg/m^3
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

#include "converter/engine/conversion.h"

#include "converter/engine/catalogue.h"
#include "converter/engine/factors.h"
#include "converter/engine/temperature.h"

double ConvertValue(int category, int source, int target, double value) {
  if (category == kCategoryTemperature) {
    const int count = CategoryAt(kCategoryTemperature)->unitCount;
    if (source < 0 || source >= count || target < 0 || target >= count) return 0;
    return ConvertTemperature(source, target, value);
  }
  return ConvertLinear(category, source, target, value);
}

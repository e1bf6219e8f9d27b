#include "converter/engine/conversion.h"

#include "converter/engine/factors.h"
#include "converter/engine/number_reading.h"
#include "converter/engine/result_format.h"
#include "converter/engine/temperature.h"

double ConvertValue(int category, int source, int target, double value) {
  if (category == kCategoryTemperature) {
    const int count = CategoryAt(kCategoryTemperature)->unitCount;
    if (source < 0 || source >= count || target < 0 || target >= count) return 0;
    return ConvertTemperature(source, target, value);
  }
  return ConvertLinear(category, source, target, value);
}

void ConvertToEveryUnit(int category, int source, double value, const ResultOptions& options, char* text,
                        size_t textSize, ResultSink sink, void* context) {
  const CategoryInfo* info = CategoryAt(category);
  if (info == nullptr || text == nullptr || textSize == 0 || sink == nullptr) return;
  for (int target = 0; target < info->unitCount; ++target) {
    if (target == source) continue;
    ResultToText(ConvertValue(category, source, target, value), options.notation, options.decimals,
                 options.noTrailingZeros, text, textSize);
    sink(context, target, text);
  }
}

double ConvertTypedText(int category, int source, const char* typed, const ResultOptions& options, char* text,
                        size_t textSize, ResultSink sink, void* context) {
  const double value = ReadNumber(typed);
  ConvertToEveryUnit(category, source, value, options, text, textSize, sink, context);
  return value;
}

// One keystroke on each page: read the typed text, convert it to every other
// unit and format each result, as the page does. The floor is the same number
// of bare snprintf("%.6f") calls on the same results.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <string>
#include <vector>

#include "converter/engine/catalogue.h"
#include "converter/engine/conversion.h"
#include "converter/engine/number_reading.h"
#include "converter/engine/result_format.h"

namespace {

const char kTyped[] = "1234.5678";
constexpr int kSource = 0;  // typed into the page's first box

void Keystroke(benchmark::State& state, int category, int notation, int decimals) {
  const int count = CategoryAt(category)->unitCount;
  char text[kResultTextSize];
  for (auto _ : state) {
    const double value = ReadNumber(kTyped);
    for (int t = 0; t < count; ++t) {
      if (t == kSource) continue;
      FormatResultText(ConvertValue(category, kSource, t, value), notation, decimals,
                       kDefaultNoTrailingZeros, text, sizeof text);
      benchmark::DoNotOptimize(text);
    }
  }
}

void SnprintfFloor(benchmark::State& state, int category) {
  const int count = CategoryAt(category)->unitCount;
  std::vector<double> results;
  for (int t = 0; t < count; ++t) {
    if (t != kSource) results.push_back(ConvertValue(category, kSource, t, ReadNumber(kTyped)));
  }
  char text[kResultTextSize];
  for (auto _ : state) {
    for (double result : results) {
      snprintf(text, sizeof text, "%.6f", result);
      benchmark::DoNotOptimize(text);
    }
  }
}

int RegisterAll() {
  for (int category = 0; category < kCategoryCount; ++category) {
    const std::string name = CategoryAt(category)->name;
    benchmark::RegisterBenchmark(("Keystroke/" + name + "/Default").c_str(), Keystroke,
                                 category, kDefaultNotation, kDefaultDecimals);
    benchmark::RegisterBenchmark(("Keystroke/" + name + "/Float32").c_str(), Keystroke,
                                 category, kNotationFloat, kMaxDecimals);
    benchmark::RegisterBenchmark(("Floor/" + name + "/snprintf").c_str(), SnprintfFloor,
                                 category);
  }
  return 0;
}

const int kRegistered = RegisterAll();

}  // namespace

BENCHMARK_MAIN();

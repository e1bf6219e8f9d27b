// One keystroke on each page through the engine's keystroke rule, the function
// the page calls: read the typed text, convert it to every other unit and
// format each result. The floor is the same number
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

// Where a page writes the text into its box, the benchmark only keeps it.
void KeepText(void*, int, const char* text) { benchmark::DoNotOptimize(text); }

void Keystroke(benchmark::State& state, int category, int notation, int decimals) {
  const ResultOptions options = {notation, decimals, kDefaultNoTrailingZeros};
  char text[kResultTextSize];
  for (auto _ : state) {
    ConvertTypedText(category, kSource, kTyped, options, text, sizeof text, KeepText, nullptr);
    benchmark::ClobberMemory();
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

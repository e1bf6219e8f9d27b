// Any double in any notation and output size: the text fits, is terminated and,
// in a buffer of full size, never cut.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "converter/engine/result_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < sizeof(double) + 4) return 0;
  double value;
  memcpy(&value, data, sizeof value);
  const int notation = data[8] % 4;
  const int decimals = static_cast<int8_t>(data[9]);  // out-of-range counts are clamped
  const int noTrailingZeros = data[10] & 1;
  const size_t outSize = data[11] == 0 ? kResultTextSize : data[11];
  std::vector<char> out(outSize);
  size_t written = FormatResultText(value, notation, decimals, noTrailingZeros, out.data(), out.size());
  if (written >= outSize || strlen(out.data()) != written) __builtin_trap();
  if (outSize == kResultTextSize) {
    // Whole: formatting again into a larger buffer gives the same text.
    std::vector<char> larger(2 * kResultTextSize);
    size_t again = FormatResultText(value, notation, decimals, noTrailingZeros, larger.data(), larger.size());
    if (again != written || strcmp(larger.data(), out.data()) != 0) __builtin_trap();
  }
  return 0;
}

// Any text, read as a typed number: no crash, no read past its terminator.
#include <cstddef>
#include <cstdint>
#include <string>

#include "converter/engine/number_reading.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A copy of exactly the given bytes and a terminator, so a read past it is seen.
  std::string text(reinterpret_cast<const char*>(data), size);
  double value = ReadNumber(text.c_str());
  // Signs and infinities only: NaN is never read.
  if (value != value) __builtin_trap();
  return 0;
}

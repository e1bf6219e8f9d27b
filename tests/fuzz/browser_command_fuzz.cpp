// Any registered open command and output size: the result is refused or a
// whole quoted path, never a cut one, and nothing is written past the output.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "converter/support/browser_command.h"

namespace {
bool EveryFileExists(const char*) { return true; }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const size_t outSize = data[0] * 3 % 300;
  std::string command(reinterpret_cast<const char*>(data + 1), size - 1);
  std::vector<char> out(outSize + 1, '#');
  int result = ParseBrowserPath(command.c_str(), out.data(), outSize, EveryFileExists);
  if (out[outSize] != '#') __builtin_trap();
  if (result == 1) {
    size_t length = strnlen(out.data(), outSize);
    if (length >= outSize || length < 2 || out[0] != '"' || out[length - 1] != '"') __builtin_trap();
    // The quoted path is the command's own text, up to its ".exe" when it has one.
    std::string path(out.data() + 1, length - 2);
    if (command.find(path) == std::string::npos) __builtin_trap();
  } else {
    for (size_t i = 0; i < outSize; ++i) {
      if (out[i] != '\0') __builtin_trap();
    }
  }
  return 0;
}

#include "common/registry.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/strings.h"
#include "common/ui_helpers.h"

volatile long RegWriteBusy = 0;

namespace {

const size_t kKeyPathSize = MAX_PATH;  // a full key path stays below 260 characters
const size_t kNumberTextSize = 128;

// root\subKey; false when it does not fit.
bool BuildKeyPath(char* path, const char* root, const char* subKey) {
  int length = snprintf(path, kKeyPathSize, "%s%s%s", root, "\\", subKey);
  return length > 0 && static_cast<size_t>(length) < kKeyPathSize;
}

// Reads a stored text into `text` (kRegReadBufferSize bytes). False when the key
// or value is missing, the data does not fit the read buffer, or the text is empty.
bool ReadStoredText(const char* root, const char* subKey, const char* valueName, char* text) {
  char path[kKeyPathSize];
  text[0] = '\0';
  if (!BuildKeyPath(path, root, subKey)) return false;
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return false;
  // One spare byte beyond the read size, so data stored without a terminating
  // zero still reads as a terminated text and never past the buffer.
  char data[kRegReadBufferSize + 1] = {};
  DWORD size = kRegReadBufferSize;
  LONG status = ::RegQueryValueExA(key, valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
  ::RegCloseKey(key);
  if (status != ERROR_SUCCESS || size > kRegReadBufferSize) return false;
  // Data filling the whole buffer without a terminator is a text of 260 or more
  // characters: too long to read, so it counts as missing.
  if (size == kRegReadBufferSize && memchr(data, '\0', size) == nullptr) return false;
  CopyStringBounded(text, data, kRegReadBufferSize);
  return text[0] != '\0';
}

// Keeps the user interface alive while another write finishes.
void WaitForOtherWriter() {
#ifdef QTRA_CONVERTER_BUILD
  PumpMessagesFor(20, 0);
#else
  PumpMessagesFor(20);
#endif
}

}  // namespace

int ReadRegString(const char* subKey, const char* valueName, const char* defaultText, char* output,
                  size_t outputSize, const char* root) {
  if (output == nullptr) return 0;
  char stored[kRegReadBufferSize];
  if (ReadStoredText(root, subKey, valueName, stored)) {
    CopyStringBounded(output, stored, outputSize);
    return static_cast<int>(strlen(output));
  }
  if (defaultText == nullptr) {
    CopyStringBounded(output, "", outputSize);
    return 0;
  }
  // Also right when the default is the output buffer: the copy moves no byte backwards.
  CopyStringBounded(output, defaultText, outputSize);
  WriteRegString(subKey, valueName, output, ProductRegKey);
  return static_cast<int>(strlen(output));
}

int WriteRegString(const char* subKey, const char* valueName, const char* text, const char* root) {
  // Test and set in one step, so no two writers ever run together.
  while (::InterlockedExchange(&RegWriteBusy, 1) != 0) WaitForOtherWriter();
  int result = 0;
  char path[kKeyPathSize];
  HKEY key = nullptr;
  if (BuildKeyPath(path, root, subKey) &&
      ::RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) == ERROR_SUCCESS) {
    if (text == nullptr) text = "";
    DWORD size = static_cast<DWORD>(strlen(text) + 1);
    // A value that could not be written is a failure too, not a success.
    result = ::RegSetValueExA(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), size) ==
                     ERROR_SUCCESS
                 ? 1
                 : 0;
    ::RegCloseKey(key);
  }
  ::InterlockedExchange(&RegWriteBusy, 0);
  return result;
}

int ReadRegInt(const char* subKey, const char* valueName, int defaultValue, const char* root) {
  char defaultText[kNumberTextSize] = {};
  char text[kNumberTextSize] = {};
  snprintf(defaultText, sizeof defaultText, "%i", defaultValue);
  ReadRegString(subKey, valueName, defaultText, text, sizeof text, root);
  return atoi(text);
}

unsigned long ReadRegUnsigned(const char* subKey, const char* valueName, unsigned long defaultValue,
                              const char* root) {
  char defaultText[kNumberTextSize] = {};
  char text[kNumberTextSize] = {};
  snprintf(defaultText, sizeof defaultText, "%lu", defaultValue);
  ReadRegString(subKey, valueName, defaultText, text, sizeof text, root);
  return strtoul(text, nullptr, 0);
}

int WriteRegInt(const char* subKey, const char* valueName, int value, const char* root) {
  char text[kNumberTextSize] = {};
  snprintf(text, sizeof text, "%i", value);
  return WriteRegString(subKey, valueName, text, root);
}

int WriteRegUnsigned(const char* subKey, const char* valueName, unsigned long value, const char* root) {
  char text[kNumberTextSize] = {};
  snprintf(text, sizeof text, "%lu", value);
  return WriteRegString(subKey, valueName, text, root);
}

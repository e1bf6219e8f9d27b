#include "common/registry.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/strings.h"
#include "common/ui_helpers.h"
#include "common/wide_text.h"

volatile long RegWriteBusy = 0;

namespace {

const size_t kKeyPathSize = MAX_PATH;  // a full key path stays below 260 characters
const size_t kNumberTextSize = 128;

// root\subKey; false when it does not fit.
bool BuildKeyPath(char* path, const char* root, const char* subKey) {
  int length = snprintf(path, kKeyPathSize, "%s%s%s", root, "\\", subKey);
  return length > 0 && static_cast<size_t>(length) < kKeyPathSize;
}

HKEY OpenKey(const char* root, const char* subKey, bool create) {
  char path[kKeyPathSize];
  if (!BuildKeyPath(path, root, subKey)) return nullptr;
  HKEY key = nullptr;
  const LONG status = create ? ::RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                                 KEY_ALL_ACCESS, nullptr, &key, nullptr)
                             : ::RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_ALL_ACCESS, &key);
  return status == ERROR_SUCCESS ? key : nullptr;
}

// Reads a stored text of an open key (or none) into `text` (kRegReadBufferSize
// bytes). False when the key or value is missing, the data does not fit the
// read buffer, or the text is empty.
bool ReadKeyText(HKEY key, const char* valueName, char* text) {
  text[0] = '\0';
  if (key == nullptr) return false;
  // One spare byte beyond the read size, so data stored without a terminating
  // zero still reads as a terminated text and never past the buffer.
  char data[kRegReadBufferSize + 1] = {};
  DWORD size = kRegReadBufferSize;
  LONG status = ::RegQueryValueExA(key, valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
  if (status != ERROR_SUCCESS || size > kRegReadBufferSize) return false;
  // Data filling the whole buffer without a terminator is a text of 260 or more
  // characters: too long to read, so it counts as missing.
  if (size == kRegReadBufferSize && memchr(data, '\0', size) == nullptr) return false;
  CopyStringBounded(text, data, kRegReadBufferSize);
  return text[0] != '\0';
}

bool ReadStoredText(const char* root, const char* subKey, const char* valueName, char* text) {
  HKEY key = OpenKey(root, subKey, false);
  const bool found = ReadKeyText(key, valueName, text);
  if (key != nullptr) ::RegCloseKey(key);
  return found;
}

// A value that could not be written is a failure too, not a success.
int WriteKeyText(HKEY key, const char* valueName, const char* text) {
  if (text == nullptr) text = "";
  DWORD size = static_cast<DWORD>(strlen(text) + 1);
  return ::RegSetValueExA(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), size) == ERROR_SUCCESS
             ? 1
             : 0;
}

// The text of a number, as every stored number is kept.
void NumberText(int value, char* text) { snprintf(text, kNumberTextSize, "%i", value); }

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
    CopyProgramText(output, stored, outputSize);
    return static_cast<int>(strlen(output));
  }
  if (defaultText == nullptr) {
    CopyStringBounded(output, "", outputSize);
    return 0;
  }
  // Also right when the default is the output buffer: the copy moves no byte backwards.
  CopyProgramText(output, defaultText, outputSize);
  WriteRegString(subKey, valueName, output, ProductRegKey);
  return static_cast<int>(strlen(output));
}

int WriteRegString(const char* subKey, const char* valueName, const char* text, const char* root) {
  // Test and set in one step, so no two writers ever run together.
  while (::InterlockedExchange(&RegWriteBusy, 1) != 0) WaitForOtherWriter();
  int result = 0;
  HKEY key = OpenKey(root, subKey, true);
  if (key != nullptr) {
    result = WriteKeyText(key, valueName, text);
    ::RegCloseKey(key);
  }
  ::InterlockedExchange(&RegWriteBusy, 0);
  return result;
}

int ReadRegInt(const char* subKey, const char* valueName, int defaultValue, const char* root) {
  char defaultText[kNumberTextSize] = {};
  char text[kNumberTextSize] = {};
  NumberText(defaultValue, defaultText);
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
  NumberText(value, text);
  return WriteRegString(subKey, valueName, text, root);
}

int WriteRegUnsigned(const char* subKey, const char* valueName, unsigned long value, const char* root) {
  char text[kNumberTextSize] = {};
  snprintf(text, sizeof text, "%lu", value);
  return WriteRegString(subKey, valueName, text, root);
}

CRegKeyGroup::~CRegKeyGroup() {
  if (m_key != nullptr) ::RegCloseKey(static_cast<HKEY>(m_key));
}

bool CRegKeyGroup::Open(bool create) {
  if (m_key == nullptr && (!m_opened || create)) m_key = OpenKey(ProductRegKey, m_subKey, create);
  m_opened = true;
  return m_key != nullptr;
}

int CRegKeyGroup::ReadString(const char* valueName, const char* defaultText, char* output, size_t outputSize) {
  if (output == nullptr) return 0;
  char stored[kRegReadBufferSize];
  Open(false);
  if (ReadKeyText(static_cast<HKEY>(m_key), valueName, stored)) {
    CopyProgramText(output, stored, outputSize);
    return static_cast<int>(strlen(output));
  }
  // As the single read: a missing text takes the default, which is stored at once.
  CopyProgramText(output, defaultText != nullptr ? defaultText : "", outputSize);
  if (defaultText != nullptr) WriteString(valueName, output);
  return static_cast<int>(strlen(output));
}

int CRegKeyGroup::ReadInt(const char* valueName, int defaultValue) {
  char defaultText[kNumberTextSize] = {};
  char text[kNumberTextSize] = {};
  NumberText(defaultValue, defaultText);
  ReadString(valueName, defaultText, text, sizeof text);
  return atoi(text);
}

int CRegKeyGroup::WriteString(const char* valueName, const char* text) {
  while (::InterlockedExchange(&RegWriteBusy, 1) != 0) WaitForOtherWriter();
  int result = Open(true) ? WriteKeyText(static_cast<HKEY>(m_key), valueName, text) : 0;
  // Someone deleted the key while it was open: the single write would have created it anew.
  if (result == 0 && m_key != nullptr) {
    ::RegCloseKey(static_cast<HKEY>(m_key));
    m_key = nullptr;
    result = Open(true) ? WriteKeyText(static_cast<HKEY>(m_key), valueName, text) : 0;
  }
  ::InterlockedExchange(&RegWriteBusy, 0);
  return result;
}

int CRegKeyGroup::WriteInt(const char* valueName, int value) {
  char text[kNumberTextSize] = {};
  NumberText(value, text);
  return WriteString(valueName, text);
}

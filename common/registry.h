// Settings access: text values (REG_SZ) under the current user's product key.
// Numbers are kept as decimal text. Reads with a default store the default at
// once when the value is missing, empty or too long to read.
#pragma once
#include <cstddef>

#include "common/product.h"  // ProductRegKey

// Held while one write is in progress; a second writer waits, dispatching messages.
extern volatile long RegWriteBusy;

// Size of the buffer a stored text is read into: at most 259 characters fit.
const size_t kRegReadBufferSize = 260;

// Returns the length of the text now in `output`. `defaultText` may be null
// (no default) and may be the output buffer itself.
int ReadRegString(const char* subKey, const char* valueName, const char* defaultText, char* output,
                  size_t outputSize, const char* root);
// 1 when the text was stored, else 0.
int WriteRegString(const char* subKey, const char* valueName, const char* text, const char* root);

int ReadRegInt(const char* subKey, const char* valueName, int defaultValue, const char* root);
unsigned long ReadRegUnsigned(const char* subKey, const char* valueName, unsigned long defaultValue,
                              const char* root);
int WriteRegInt(const char* subKey, const char* valueName, int value, const char* root);
int WriteRegUnsigned(const char* subKey, const char* valueName, unsigned long value, const char* root);

// A group of reads and writes under one subkey of the product key, through one
// open key: each call has the result, and leaves the registry as, the single
// call of the same name above, which opens and closes the key every time. The
// key is opened at the first call and created only where a single call would
// create it (at the first write).
class CRegKeyGroup {
 public:
  explicit CRegKeyGroup(const char* subKey) : m_subKey(subKey) {}
  ~CRegKeyGroup();
  CRegKeyGroup(const CRegKeyGroup&) = delete;
  CRegKeyGroup& operator=(const CRegKeyGroup&) = delete;

  int ReadString(const char* valueName, const char* defaultText, char* output, size_t outputSize);
  int ReadInt(const char* valueName, int defaultValue);
  int WriteString(const char* valueName, const char* text);
  int WriteInt(const char* valueName, int value);

 private:
  bool Open(bool create);

  const char* m_subKey;
  void* m_key = nullptr;  // an HKEY; this header stays free of <windows.h>
  bool m_opened = false;  // opened, or tried to open without creating
};

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

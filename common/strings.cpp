#include "common/strings.h"

#include <cstdlib>
#include <cstring>

char* CopyStringBounded(char* destination, const char* source, size_t size) {
  if (destination == nullptr) return nullptr;
  if (size == 0) {
    // Nothing fits, yet the destination must read as terminated.
    destination[0] = '\0';
    return destination;
  }
  size_t i = 0;
  if (source != nullptr) {
    for (; i + 1 < size && source[i] != '\0'; ++i) destination[i] = source[i];
  }
  destination[i] = '\0';
  return destination;
}

static void TrimTrailingCharacters(char* text, const char* set) {
  if (text == nullptr) return;
  size_t length = strlen(text);
  while (length > 0 && strchr(set, text[length - 1]) != nullptr) text[--length] = '\0';
}

void TrimTrailingSeparators(char* text) { TrimTrailingCharacters(text, "\n\r /\\"); }
void TrimTrailingBackslashes(char* text) { TrimTrailingCharacters(text, "\n\r \\"); }
void TrimTrailingBlanks(char* text) { TrimTrailingCharacters(text, "\n\r "); }

// Lower-cases A-Z only, so the result does not depend on the locale or code page.
static char* LowerCopy(const char* text) {
  size_t length = strlen(text);
  char* copy = static_cast<char*>(calloc(length + 2, 1));
  if (copy == nullptr) return nullptr;
  for (size_t i = 0; i < length; ++i) {
    char c = text[i];
    copy[i] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return copy;
}

const char* FindNoCase(const char* text, const char* pattern) {
  if (text == nullptr || pattern == nullptr) return nullptr;
  char* lowerText = LowerCopy(text);
  char* lowerPattern = LowerCopy(pattern);
  const char* found = nullptr;
  if (lowerText != nullptr && lowerPattern != nullptr) {
    const char* hit = strstr(lowerText, lowerPattern);
    if (hit != nullptr) found = text + (hit - lowerText);
  }
  free(lowerText);
  free(lowerPattern);
  return found;
}

char* FindNoCase(char* text, const char* pattern) {
  return const_cast<char*>(FindNoCase(static_cast<const char*>(text), pattern));
}

void RemoveMnemonicMarks(wchar_t* text) {
  if (text == nullptr) return;
  wchar_t* out = text;
  for (const wchar_t* in = text; *in != L'\0'; ++in) {
    // The mark is dropped; the character after it (a second '&' too) is kept.
    if (*in == L'&' && in[1] != L'\0') ++in;
    *out++ = *in;
  }
  *out = L'\0';
}

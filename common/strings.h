// In-place string helpers shared by both programs. Portable: no <windows.h>.
#pragma once
#include <cstddef>

// Copies at most size - 1 characters and always terminates (size 0 included:
// the first byte is set to the terminator). Null destination: nothing, result
// null. Null source: the destination becomes empty.
char* CopyStringBounded(char* destination, const char* source, size_t size);

// Removes trailing line feeds, carriage returns, spaces, '/' and '\'. Null is ignored.
void TrimTrailingSeparators(char* text);
// Removes trailing line feeds, carriage returns, spaces and '\' (a trailing '/' stays).
void TrimTrailingBackslashes(char* text);
// Removes trailing line feeds, carriage returns and spaces.
void TrimTrailingBlanks(char* text);

// Case-insensitive (A-Z only) search; the result points into `text` itself.
// Null text or pattern, or no match: null.
char* FindNoCase(char* text, const char* pattern);
const char* FindNoCase(const char* text, const char* pattern);

// A control's caption as it reads, without its mnemonic marks: "&Round" reads
// "Round", "&&" reads "&". In place; null is ignored.
void RemoveMnemonicMarks(wchar_t* text);

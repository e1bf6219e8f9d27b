// Writes one converted value into a unit's box, formatted with the page's options.
#pragma once
#include <windows.h>

#include <cstddef>

// `text` is the page's text buffer, reused for every result; with textSize at
// least kResultTextSize every result is written whole.
void FormatResult(int editId, HWND page, double value, char* text, size_t textSize, int notation,
                  int decimals, int noTrailingZeros);

// Writes one converted value into a unit's box, formatted with the page's options:
// ResultToText, then the box's text. A keystroke writes all of its results at
// once through ConvertTypedText instead; this is the form for one value.
#pragma once
#include <windows.h>

#include <cstddef>

// `text` is the page's text buffer, reused for every result; with textSize at
// least kResultTextSize every result is written whole.
void FormatResult(int editId, HWND page, double value, char* text, size_t textSize, int notation,
                  int decimals, int noTrailingZeros);

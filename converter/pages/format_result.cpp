#include "converter/pages/format_result.h"

#include "converter/engine/result_format.h"

void FormatResult(int editId, HWND page, double value, char* text, size_t textSize, int notation,
                  int decimals, int noTrailingZeros) {
  if (text == nullptr || textSize == 0) return;
  ResultToText(value, notation, decimals, noTrailingZeros, text, textSize);
  ::SetDlgItemTextA(page, editId, text);
}

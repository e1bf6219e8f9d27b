#include "converter/pages/temperature_page.h"

#include "common/wide_text.h"
#include "converter/engine/temperature.h"
#include "converter/engine/temperature_notes.h"

CTemperaturePage::CTemperaturePage()
    : CConversionPage(kCategoryTemperature, *CategoryAt(kCategoryTemperature)) {}

void CTemperaturePage::InitCategoryControls() {
  ::SetWindowTextA(Control(kAbsoluteZeroNoteId), kAbsoluteZeroNote);
}

void CTemperaturePage::CheckAbsoluteZero() {
  char* text = TextBuffer();
  // The Kelvin box is read like a typed value, from at most 201 characters.
  ::GetWindowTextA(Control(Category().firstEditId + kKelvin), text, 202);
  DropPartialLetter(text);
  ::SetWindowTextA(Control(kAbsoluteZeroWarningId), IsBelowAbsoluteZero(text) ? kAbsoluteZeroWarning : "");
}

#include "converter/pages/labelled_control.h"

#include <memory>
#include <new>

#include "common/named_accessible.h"
#include "common/strings.h"
#include "converter/pages/conversion_page.h"

BEGIN_MESSAGE_TABLE(CLabelledControl, CWnd)
  ON_MESSAGE(WM_GETOBJECT, OnGetObject)
END_MESSAGE_TABLE()

bool CLabelledControl::Name(HWND control, HWND label) {
  if (control == nullptr || label == nullptr) return false;
  CLabelledControl* named = new (std::nothrow) CLabelledControl(label);
  if (named == nullptr) return false;
  if (!named->SubclassWindow(control)) {
    delete named;
    return false;
  }
  return true;
}

LRESULT CLabelledControl::OnGetObject(WPARAM wParam, LPARAM lParam) {
  // Plain memory rather than a string class, which would bring over 100 KB
  // of the C++ runtime into the program.
  const int size = ::GetWindowTextLengthW(m_label) + 1;
  std::unique_ptr<wchar_t[]> name(new (std::nothrow) wchar_t[size]());
  if (!name) return Default();
  ::GetWindowTextW(m_label, name.get(), size);
  RemoveMnemonicMarks(name.get());
  LRESULT result = 0;
  return AnswerWithAccessibleName(m_hWnd, wParam, lParam, name.get(), &result) ? result : Default();
}

void LabelPageControls(const CConversionPage& page) {
  const CategoryInfo& category = page.Category();
  for (int unit = 0; unit < category.unitCount; ++unit)
    CLabelledControl::Name(page.Control(category.firstEditId + unit), page.Control(category.firstButtonId + unit));
  CLabelledControl::Name(page.Control(category.decimalsListId), page.Control(category.roundGroupId));
}

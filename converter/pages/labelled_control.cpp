#include "converter/pages/labelled_control.h"

#include <new>
#include <string>

#include "common/named_accessible.h"
#include "common/strings.h"

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
  std::wstring name(static_cast<size_t>(::GetWindowTextLengthW(m_label)) + 1, L'\0');
  ::GetWindowTextW(m_label, &name[0], static_cast<int>(name.size()));
  RemoveMnemonicMarks(&name[0]);
  LRESULT result = 0;
  return AnswerWithAccessibleName(m_hWnd, wParam, lParam, name.c_str(), &result) ? result : Default();
}

void LabelPageControls(HWND page, const CategoryInfo& category) {
  for (int unit = 0; unit < category.unitCount; ++unit)
    CLabelledControl::Name(::GetDlgItem(page, category.firstEditId + unit),
                             ::GetDlgItem(page, category.firstButtonId + unit));
  CLabelledControl::Name(::GetDlgItem(page, category.decimalsListId), ::GetDlgItem(page, category.roundGroupId));
}

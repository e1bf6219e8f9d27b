#include "converter/pages/conversion_page.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "common/registry.h"
#include "converter/app/app_state.h"
#include "converter/engine/conversion.h"
#include "converter/engine/number_reading.h"
#include "converter/pages/format_result.h"
#include "converter/pages/labelled_control.h"
#include "converter/pages/temperature_page.h"

namespace {

const char* const kSettingsKey = kConfigureKey;
// A typed value is read from at most 100 characters; a box takes 101.
const int kTypedReadSize = 101;
const int kBoxTextLimit = 101;
// Box texts are stored and restored with at most 201 characters.
const int kStoredTextSize = 202;
const size_t kValueNameSize = 64;

}  // namespace

BEGIN_MESSAGE_TABLE(CConversionPage, CTabPage)
  ON_MESSAGE(WM_ERASEBKGND, OnEraseBackground)
  ON_MESSAGE(WM_SETFOCUS, OnSetFocus)
END_MESSAGE_TABLE()

CConversionPage* CreateConversionPage(int categoryIndex) {
  const CategoryInfo* category = CategoryAt(categoryIndex);
  if (category == nullptr) return nullptr;
  if (categoryIndex == kCategoryTemperature) return new CTemperaturePage();
  return new CConversionPage(categoryIndex, *category);
}

CConversionPage::CConversionPage(int categoryIndex, const CategoryInfo& category)
    : CTabPage(category.dialogId),
      m_categoryIndex(categoryIndex),
      m_category(category),
      m_lastUsedEdit(category.defaultLastUsedEditId) {}

BOOL CConversionPage::CreatePage(CWnd* tabControl) { return Create(m_category.dialogId, tabControl); }

void CConversionPage::ValueName(const char* word, char* name, size_t nameSize) const {
  snprintf(name, nameSize, "%s%s", m_category.registryPrefix, word);
}

BOOL CConversionPage::OnInitDialog() {
  CTabPage::OnInitDialog();
  InitCategoryControls();
  for (int i = 0; i < m_category.unitCount; ++i)
    SendDlgItemMessageA(m_hWnd, m_category.firstEditId + i, EM_LIMITTEXT, kBoxTextLimit, 0);
  LabelPageControls(m_hWnd, m_category);
  RestoreSettings();
  // The stored last used box, so typing right after start goes where it went last time.
  FocusLastUsedBox();
  AddUnitButtonTips();
  FillDecimalsList();

  char decimalsText[16];
  snprintf(decimalsText, sizeof decimalsText, "%u", static_cast<unsigned>(m_decimals));
  if (SendDlgItemMessageA(m_hWnd, m_category.decimalsListId, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                          reinterpret_cast<LPARAM>(decimalsText)) == CB_ERR) {
    m_decimals = kDefaultDecimals;
    SendDlgItemMessageA(m_hWnd, m_category.decimalsListId, CB_SETCURSEL, kDefaultDecimals, 0);
  }

  int radio = m_notation == kNotationFloat        ? m_category.floatRadioId
              : m_notation == kNotationScientific ? m_category.scientificRadioId
                                                  : m_category.shorterRadioId;
  ::CheckRadioButton(m_hWnd, m_category.floatRadioId, m_category.shorterRadioId, radio);
  // Only a flag of exactly 1 strips zeros, so only then does the box show a check.
  ::CheckDlgButton(m_hWnd, m_category.noTrailingZerosId, m_noTrailingZeros == 1 ? BST_CHECKED : BST_UNCHECKED);
  RefreshCategoryNotes();
  m_suppress = 0;
  return FALSE;  // the focus was placed above
}

void CConversionPage::FocusLastUsedBox() {
  const int editId = UnitIndexOfEdit(m_category, m_lastUsedEdit) >= 0 ? m_lastUsedEdit : m_category.firstEditId;
  SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(editId)), TRUE);
}

// The dialog manager would pick the page's first tab stop, a unit button.
LRESULT CConversionPage::OnSetFocus(WPARAM, LPARAM) {
  FocusLastUsedBox();
  return 0;
}

void CConversionPage::DropDefaultButtons(HWND keep) {
  if (m_hWnd == nullptr) return;
  for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (child != keep && (::SendMessageA(child, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON))
      ::SendMessageA(child, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  }
}

void CConversionPage::AddUnitButtonTips() {
  HWND tips = ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr,
                                ::GetModuleHandleA(nullptr), nullptr);
  if (tips == nullptr) return;
  char text[80];
  for (int i = 0; i < m_category.unitCount; ++i) {
    const int length = snprintf(text, sizeof text, "Copy %s to the clipboard", m_category.units[i].caption);
    if (length < 0 || length >= static_cast<int>(sizeof text)) continue;  // never a cut text
    TOOLINFOA tool = {};
    // The oldest layout with lParam, which every version of the common controls takes.
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = m_hWnd;
    tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(m_category.firstButtonId + i));
    tool.lpszText = text;
    ::SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void CConversionPage::RestoreSettings() {
  char name[kValueNameSize];
  ValueName(kLastUsedEditValue, name, sizeof name);
  m_lastUsedEdit = ReadRegInt(kSettingsKey, name, m_lastUsedEdit, ProductRegKey);
  ValueName(kNoTrailingZerosValue, name, sizeof name);
  m_noTrailingZeros = ReadRegInt(kSettingsKey, name, m_noTrailingZeros, ProductRegKey);
  ValueName(kRoundOffToValue, name, sizeof name);
  m_decimals = ReadRegInt(kSettingsKey, name, m_decimals, ProductRegKey);
  ValueName(kExpressResultsAsValue, name, sizeof name);
  m_notation = ReadRegInt(kSettingsKey, name, m_notation, ProductRegKey);

  // The suppress flag is still set: the boxes come back exactly as stored.
  char text[kStoredTextSize];
  for (int i = 0; i < m_category.unitCount; ++i) {
    ReadRegString(kSettingsKey, m_category.units[i].valueName, "", text, sizeof text, ProductRegKey);
    ::SetDlgItemTextA(m_hWnd, m_category.firstEditId + i, text);
  }
}

void CConversionPage::FillDecimalsList() {
  char entry[16];
  for (int count = 0; count <= kMaxDecimals; ++count) {
    snprintf(entry, sizeof entry, "%u", static_cast<unsigned>(count));
    SendDlgItemMessageA(m_hWnd, m_category.decimalsListId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
  }
}

void CConversionPage::SaveSettings() const {
  // Without a window there are no texts to save; writing empty ones would lose the stored ones.
  if (m_hWnd == nullptr) return;
  char name[kValueNameSize];
  ValueName(kNoTrailingZerosValue, name, sizeof name);
  WriteRegInt(kSettingsKey, name, m_noTrailingZeros, ProductRegKey);
  ValueName(kRoundOffToValue, name, sizeof name);
  WriteRegInt(kSettingsKey, name, m_decimals, ProductRegKey);
  ValueName(kExpressResultsAsValue, name, sizeof name);
  WriteRegInt(kSettingsKey, name, m_notation, ProductRegKey);
  ValueName(kLastUsedEditValue, name, sizeof name);
  WriteRegInt(kSettingsKey, name, m_lastUsedEdit, ProductRegKey);

  char text[kStoredTextSize];
  for (int i = 0; i < m_category.unitCount; ++i) {
    text[0] = '\0';
    ::GetDlgItemTextA(m_hWnd, m_category.firstEditId + i, text, sizeof text);
    WriteRegString(kSettingsKey, m_category.units[i].valueName, text, ProductRegKey);
  }
}

void CConversionPage::RecomputeFromLastUsed() {
  if (UnitIndexOfEdit(m_category, m_lastUsedEdit) < 0) return;
  // Posted, so the option handler returns before the boxes are rewritten.
  PostMessage(WM_COMMAND, MAKEWPARAM(m_lastUsedEdit, EN_CHANGE), reinterpret_cast<LPARAM>(m_hWnd));
}

BOOL CConversionPage::OnCommand(WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  const int code = HIWORD(wParam);
  const int unitOfButton = UnitIndexOfButton(m_category, id);
  if (UnitIndexOfEdit(m_category, id) >= 0 && code == EN_CHANGE && m_busy == 0 && m_suppress == 0) {
    ConvertFrom(id);
  } else if (UnitIndexOfEdit(m_category, id) >= 0 && code == EN_SETFOCUS) {
    // However the focus came here (a click included), no button stays marked as default.
    DropDefaultButtons(nullptr);
  } else if (unitOfButton >= 0) {
    CopyUnitToClipboard(unitOfButton);
  } else if (id == m_category.clearId) {
    ClearBoxes();
  } else if (id == m_category.noTrailingZerosId) {
    m_noTrailingZeros = ::IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED ? 1 : 0;
    RecomputeFromLastUsed();
  } else if (id == m_category.floatRadioId || id == m_category.scientificRadioId ||
             id == m_category.shorterRadioId) {
    m_notation = ::IsDlgButtonChecked(m_hWnd, m_category.floatRadioId) == BST_CHECKED        ? kNotationFloat
                 : ::IsDlgButtonChecked(m_hWnd, m_category.scientificRadioId) == BST_CHECKED ? kNotationScientific
                                                                                              : kNotationShorter;
    RecomputeFromLastUsed();
  } else if (id == m_category.decimalsListId && code == CBN_SELCHANGE) {
    LRESULT selection = SendDlgItemMessageA(m_hWnd, id, CB_GETCURSEL, 0, 0);
    if (selection != CB_ERR) {
      m_decimals = static_cast<int>(selection);
      RecomputeFromLastUsed();
    }
  }
  return CDialog::OnCommand(wParam, lParam);
}

void CConversionPage::ConvertFrom(int editId) {
  memset(m_text, 0, sizeof m_text);
  m_busy = 1;
  m_typed = 0;
  m_result = 0;
  ::GetDlgItemTextA(m_hWnd, editId, m_text, kTypedReadSize);
  m_typed = ReadNumber(m_text);
  const int source = UnitIndexOfEdit(m_category, editId);
  for (int target = 0; target < m_category.unitCount; ++target) {
    if (target == source) continue;
    m_result = ConvertValue(m_categoryIndex, source, target, m_typed);
    FormatResult(m_category.firstEditId + target, m_hWnd, m_result, m_text, sizeof m_text, m_notation,
                 m_decimals, m_noTrailingZeros);
  }
  RefreshCategoryNotes();
  m_lastUsedEdit = editId;
  m_busy = 0;
}

void CConversionPage::CopyUnitToClipboard(int unitIndex) {
  const int editId = m_category.firstEditId + unitIndex;
  SendDlgItemMessageA(m_hWnd, editId, EM_SETSEL, 0, -1);
  SendDlgItemMessageA(m_hWnd, editId, WM_COPY, 0, 0);
}

void CConversionPage::ClearBoxes() {
  m_suppress = 1;
  for (int i = 0; i < m_category.unitCount; ++i) ::SetDlgItemTextA(m_hWnd, m_category.firstEditId + i, "");
  m_suppress = 0;
}

void CConversionPage::OnCancel() {
  // Escape never closes a page; only the program's exit ends it.
  if (AppExiting == 1) CDialog::OnCancel();
}

LRESULT CConversionPage::OnEraseBackground(WPARAM, LPARAM) {
  // Only the first erasures after the main window moved or was activated take
  // place; the rest would make the tabbed display flicker.
  if (PageEraseAllowance > 0) {
    --PageEraseAllowance;
    return Default();
  }
  return 0;
}

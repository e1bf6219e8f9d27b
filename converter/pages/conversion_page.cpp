#include "converter/pages/conversion_page.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "common/registry.h"
#include "common/wide_text.h"
#include "converter/app/app_state.h"
#include "converter/app/startup_marks.h"
#include "converter/engine/conversion.h"
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

HWND CConversionPage::Control(int id) const {
  const int slot = id - m_category.titleId;
  if (slot < 0 || slot >= kKnownControls) return ::GetDlgItem(m_hWnd, id);
  if (m_controls[slot] == nullptr) m_controls[slot] = ::GetDlgItem(m_hWnd, id);
  return m_controls[slot];
}

void CConversionPage::PostNcDestroy() {
  for (HWND& control : m_controls) control = nullptr;
  CTabPage::PostNcDestroy();
}

void CConversionPage::ValueName(const char* word, char* name, size_t nameSize) const {
  snprintf(name, nameSize, "%s%s", m_category.registryPrefix, word);
}

BOOL CConversionPage::OnInitDialog() {
  STARTUP_MARK("page: controls from the template");
  CTabPage::OnInitDialog();
  InitCategoryControls();
  for (int i = 0; i < m_category.unitCount; ++i)
    ::SendMessageA(Control(m_category.firstEditId + i), EM_LIMITTEXT, kBoxTextLimit, 0);
  STARTUP_MARK("page: categories, text limits");
  LabelPageControls(*this);
  STARTUP_MARK("page: accessible names");
  RestoreSettings();
  STARTUP_MARK("page: stored settings and texts");
  // The stored last used box, so typing right after start goes where it went last time.
  FocusLastUsedBox();
  AddUnitButtonTips();
  STARTUP_MARK("page: focus, button tips");
  FillDecimalsList();
  STARTUP_MARK("page: decimals list");

  char decimalsText[16];
  snprintf(decimalsText, sizeof decimalsText, "%u", static_cast<unsigned>(m_decimals));
  HWND decimalsList = Control(m_category.decimalsListId);
  if (::SendMessageA(decimalsList, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(decimalsText)) ==
      CB_ERR) {
    m_decimals = kDefaultDecimals;
    ::SendMessageA(decimalsList, CB_SETCURSEL, kDefaultDecimals, 0);
  }

  int radio = m_notation == kNotationFloat        ? m_category.floatRadioId
              : m_notation == kNotationScientific ? m_category.scientificRadioId
                                                  : m_category.shorterRadioId;
  // Each of the three by itself: CheckRadioButton walks every control of the page and their children.
  const int radios[] = {m_category.floatRadioId, m_category.scientificRadioId, m_category.shorterRadioId};
  for (int id : radios) SetCheck(id, id == radio);
  // Only a flag of exactly 1 strips zeros, so only then does the box show a check.
  SetCheck(m_category.noTrailingZerosId, m_noTrailingZeros == 1);
  RefreshCategoryNotes();
  m_suppress = 0;
  return FALSE;  // the focus was placed above
}

void CConversionPage::SetCheck(int id, bool checked) const {
  ::SendMessageA(Control(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool CConversionPage::IsChecked(int id) const { return ::SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void CConversionPage::FocusLastUsedBox() {
  const int editId = UnitIndexOfEdit(m_category, m_lastUsedEdit) >= 0 ? m_lastUsedEdit : m_category.firstEditId;
  SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(editId)), TRUE);
}

// The dialog manager would pick the page's first tab stop, a unit button.
LRESULT CConversionPage::OnSetFocus(WPARAM, LPARAM) {
  FocusLastUsedBox();
  return 0;
}

void CConversionPage::DropDefaultButtons(HWND keep) {
  if (m_hWnd == nullptr) return;
  // The page's push buttons are its unit buttons and Clear.
  for (int i = 0; i <= m_category.unitCount; ++i) {
    HWND button = Control(i < m_category.unitCount ? m_category.firstButtonId + i : m_category.clearId);
    if (button != nullptr && button != keep && (::SendMessageA(button, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON))
      ::SendMessageA(button, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  }
}

void CConversionPage::AddUnitButtonTips() {
  // One tooltip window serves every page of a main window: a tooltip created for
  // a page belongs to the page's top-level window all the same, and a window
  // apiece would only cost start-up time.
  static HWND s_tips = nullptr;
  HWND owner = ::GetAncestor(m_hWnd, GA_ROOT);
  if (s_tips == nullptr || !::IsWindow(s_tips) || ::GetWindow(s_tips, GW_OWNER) != owner)
    s_tips = ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                               ::GetModuleHandleA(nullptr), nullptr);
  HWND tips = s_tips;
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
    tool.uId = reinterpret_cast<UINT_PTR>(Control(m_category.firstButtonId + i));
    tool.lpszText = text;
    ::SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void CConversionPage::RestoreSettings() {
  CRegKeyGroup settings(kSettingsKey);
  char name[kValueNameSize];
  ValueName(kLastUsedEditValue, name, sizeof name);
  m_lastUsedEdit = settings.ReadInt(name, m_lastUsedEdit);
  ValueName(kNoTrailingZerosValue, name, sizeof name);
  m_noTrailingZeros = settings.ReadInt(name, m_noTrailingZeros);
  ValueName(kRoundOffToValue, name, sizeof name);
  m_decimals = settings.ReadInt(name, m_decimals);
  ValueName(kExpressResultsAsValue, name, sizeof name);
  m_notation = settings.ReadInt(name, m_notation);

  // The suppress flag is still set: the boxes come back exactly as stored.
  char text[kStoredTextSize];
  for (int i = 0; i < m_category.unitCount; ++i) {
    settings.ReadString(m_category.units[i].valueName, "", text, sizeof text);
    ::SetWindowTextA(Control(m_category.firstEditId + i), text);
  }
}

void CConversionPage::FillDecimalsList() {
  char entry[16];
  for (int count = 0; count <= kMaxDecimals; ++count) {
    snprintf(entry, sizeof entry, "%u", static_cast<unsigned>(count));
    ::SendMessageA(Control(m_category.decimalsListId), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
  }
}

void CConversionPage::SaveSettings() const {
  // Without a window there are no texts to save; writing empty ones would lose the stored ones.
  if (m_hWnd == nullptr) return;
  CRegKeyGroup settings(kSettingsKey);
  char name[kValueNameSize];
  ValueName(kNoTrailingZerosValue, name, sizeof name);
  settings.WriteInt(name, m_noTrailingZeros);
  ValueName(kRoundOffToValue, name, sizeof name);
  settings.WriteInt(name, m_decimals);
  ValueName(kExpressResultsAsValue, name, sizeof name);
  settings.WriteInt(name, m_notation);
  ValueName(kLastUsedEditValue, name, sizeof name);
  settings.WriteInt(name, m_lastUsedEdit);

  char text[kStoredTextSize];
  for (int i = 0; i < m_category.unitCount; ++i) {
    text[0] = '\0';
    ::GetWindowTextA(Control(m_category.firstEditId + i), text, sizeof text);
    // A box holds 101 letters, which may take more bytes than are stored: never half a letter.
    DropPartialLetter(text);
    settings.WriteString(m_category.units[i].valueName, text);
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
    m_noTrailingZeros = IsChecked(id) ? 1 : 0;
    RecomputeFromLastUsed();
  } else if (id == m_category.floatRadioId || id == m_category.scientificRadioId ||
             id == m_category.shorterRadioId) {
    m_notation = IsChecked(m_category.floatRadioId)        ? kNotationFloat
                 : IsChecked(m_category.scientificRadioId) ? kNotationScientific
                                                           : kNotationShorter;
    RecomputeFromLastUsed();
  } else if (id == m_category.decimalsListId && code == CBN_SELCHANGE) {
    LRESULT selection = ::SendMessageA(Control(id), CB_GETCURSEL, 0, 0);
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
  ::GetWindowTextA(Control(editId), m_text, kTypedReadSize);
  DropPartialLetter(m_text);
  const ResultOptions options = {m_notation, m_decimals, m_noTrailingZeros};
  // The one buffer holds the typed text, then each result in turn.
  m_typed = ConvertTypedText(m_categoryIndex, UnitIndexOfEdit(m_category, editId), m_text, options, m_text,
                             sizeof m_text, ShowResult, this);
  RefreshCategoryNotes();
  m_lastUsedEdit = editId;
  m_busy = 0;
}

void CConversionPage::ShowResult(void* page, int unit, const char* text) {
  const CConversionPage* self = static_cast<const CConversionPage*>(page);
  ::SetWindowTextA(self->Control(self->m_category.firstEditId + unit), text);
}

void CConversionPage::CopyUnitToClipboard(int unitIndex) {
  const int editId = m_category.firstEditId + unitIndex;
  HWND box = Control(editId);
  ::SendMessageA(box, EM_SETSEL, 0, -1);
  ::SendMessageA(box, WM_COPY, 0, 0);
}

void CConversionPage::ClearBoxes() {
  m_suppress = 1;
  for (int i = 0; i < m_category.unitCount; ++i) ::SetWindowTextA(Control(m_category.firstEditId + i), "");
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

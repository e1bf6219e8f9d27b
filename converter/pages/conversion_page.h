// One tab of the converter: a child dialog showing every unit of one category.
// Typing into a unit's box rewrites every other box of the page at once; the
// option controls choose how results are written and reconvert the last box.
#pragma once
#include <cstddef>

#include "common/framework/tab_page.h"
#include "converter/engine/catalogue.h"
#include "converter/engine/result_format.h"

class CConversionPage : public CTabPage {
 public:
  ~CConversionPage() override = default;

  // Creates the modeless page window from its template inside the tab control.
  BOOL CreatePage(CWnd* tabControl);
  // Writes the page's options and box texts under "Configure".
  void SaveSettings() const;
  // Reconverts, later, from the last used box, as if its text had just changed.
  void RecomputeFromLastUsed();
  // Puts the keyboard focus in the last used box (the first one when that is
  // no unit box), its text selected, so typing replaces it.
  void FocusLastUsedBox();
  // Push buttons other than `keep` lose the default-button look that the
  // dialog manager gave them while the focus passed through.
  void DropDefaultButtons(HWND keep);

  const CategoryInfo& Category() const { return m_category; }
  // A control of the page. Handles of the page's own range of identifiers are
  // looked up once: each dialog-item lookup asks the window server on some systems.
  HWND Control(int id) const;

  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void OnCancel() override;

  DECLARE_MESSAGE_TABLE()

 protected:
  CConversionPage(int categoryIndex, const CategoryInfo& category);
  friend CConversionPage* CreateConversionPage(int categoryIndex);

  // What a category adds: controls set once at creation, and notes that follow
  // the boxes after restoring and after every conversion.
  virtual void InitCategoryControls() {}
  virtual void RefreshCategoryNotes() {}

  // The controls went with the window.
  void PostNcDestroy() override;

  // The page's text buffer: typed text, then each result text in turn.
  char* TextBuffer() { return m_text; }
  static constexpr size_t kTextBufferSize = kResultTextSize;

 private:
  void ConvertFrom(int editId);
  // Writes one result text of a keystroke into its unit's box.
  static void ShowResult(void* page, int unit, const char* text);
  void CopyUnitToClipboard(int unitIndex);
  void SetCheck(int id, bool checked) const;
  bool IsChecked(int id) const;
  void ClearBoxes();
  void RestoreSettings();
  void FillDecimalsList();
  void ValueName(const char* word, char* name, size_t nameSize) const;
  LRESULT OnEraseBackground(WPARAM, LPARAM);
  LRESULT OnSetFocus(WPARAM, LPARAM);
  void AddUnitButtonTips();

  const int m_categoryIndex;
  const CategoryInfo& m_category;
  int m_noTrailingZeros = kDefaultNoTrailingZeros;
  int m_notation = kDefaultNotation;
  int m_decimals = kDefaultDecimals;
  int m_lastUsedEdit;
  int m_suppress = 1;  // restoring or clearing: the boxes' changes convert nothing
  int m_busy = 0;      // a conversion is writing its results
  double m_typed = 0;
  char m_text[kTextBufferSize] = {};
  // Handles of identifiers titleId and up, filled as they are first asked for.
  static constexpr int kKnownControls = 64;
  mutable HWND m_controls[kKnownControls] = {};
};

// The page object of tab `categoryIndex` (0 to 6), of that page's own class;
// null for any other index. The window is created later by CreatePage.
CConversionPage* CreateConversionPage(int categoryIndex);

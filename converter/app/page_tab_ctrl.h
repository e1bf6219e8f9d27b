// The main window's tab control: owns the seven conversion pages and shows the
// one of the selected tab.
#pragma once
#include "common/framework/tab_ctrl.h"
#include "converter/engine/catalogue.h"

class CConversionPage;

class CPageTabCtrl : public CTabCtrl {
 public:
  CPageTabCtrl();  // the page objects only; their windows come with CreatePages
  ~CPageTabCtrl() override;

  void CreatePages();
  void PlacePages();
  void SwitchPage();
  // Selects tab `tab` as a click on it would; the main window then switches pages.
  void ShowTab(int tab);
  // Where Tab (or Shift+Tab, `backwards`) goes from `focus`: the shown page's
  // tab stops in order, then this tab strip, round and round.
  HWND NextTabStop(HWND focus, bool backwards) const;
  // Push buttons of every page, except `keep`, lose the default-button look.
  void DropDefaultButtons(HWND keep) const;
  // Deletes the page objects; safe to call twice.
  void ClosePageTabs();

  // Page `tab` (0 to 6), or null.
  CConversionPage* Page(int tab) const;
  // The window of page `tab`, or null while it has none.
  HWND PageWindow(int tab) const;

 private:
  CConversionPage* m_pages[kCategoryCount] = {};
};

// The program's page tab control, once CreatePages has run.
extern CPageTabCtrl* PageTabs;

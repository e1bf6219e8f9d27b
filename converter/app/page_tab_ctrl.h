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
  // Deletes the page objects; safe to call twice.
  void ClosePageTabs();

  // Page `tab` (0 to 6), or null.
  CConversionPage* Page(int tab) const;
  // The window of page `tab`, or null while it has none.
  HWND PageWindow(int tab) const;

  DECLARE_MESSAGE_TABLE()

 private:
  CConversionPage* m_pages[kCategoryCount] = {};
};

// The program's page tab control, once CreatePages has run.
extern CPageTabCtrl* PageTabs;

#include "converter/app/page_tab_ctrl.h"

#include "converter/app/app_state.h"
#include "converter/pages/conversion_page.h"

CPageTabCtrl* PageTabs = nullptr;

BEGIN_MESSAGE_TABLE(CPageTabCtrl, CTabCtrl)
  ON_MESSAGE(WM_LBUTTONDOWN, OnDefault)
END_MESSAGE_TABLE()

CPageTabCtrl::CPageTabCtrl() {
  for (int tab = 0; tab < kCategoryCount; ++tab) m_pages[tab] = CreateConversionPage(tab);
}

CPageTabCtrl::~CPageTabCtrl() { ClosePageTabs(); }

void CPageTabCtrl::ClosePageTabs() {
  for (CConversionPage*& page : m_pages) {
    delete page;
    page = nullptr;
  }
  if (PageTabs == this) PageTabs = nullptr;
}

CConversionPage* CPageTabCtrl::Page(int tab) const {
  return tab >= 0 && tab < kCategoryCount ? m_pages[tab] : nullptr;
}

HWND CPageTabCtrl::PageWindow(int tab) const {
  CConversionPage* page = Page(tab);
  return page != nullptr ? page->m_hWnd : nullptr;
}

void CPageTabCtrl::CreatePages() {
  PageTabs = this;
  for (int tab = 0; tab < kCategoryCount; ++tab) {
    if (m_pages[tab] == nullptr) continue;
    m_pages[tab]->CreatePage(this);
    HWND window = PageWindow(tab);
    if (window != nullptr) ::ShowWindow(window, tab == LastTab ? SW_SHOW : SW_HIDE);
  }
  PlacePages();
  SetCurFocus(LastTab);
  SetCurSel(LastTab);
}

void CPageTabCtrl::PlacePages() {
  RECT client = {};
  RECT item = {};
  ::GetClientRect(m_hWnd, &client);
  GetItemRect(0, &item);
  for (int tab = 0; tab < kCategoryCount; ++tab) {
    HWND window = PageWindow(tab);
    if (window == nullptr) continue;
    ::SetWindowPos(window, HWND_TOP, item.left - 2, item.bottom + 1, client.right - item.left,
                   client.bottom - item.bottom - 3, tab == LastTab ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
  }
}

void CPageTabCtrl::SwitchPage() {
  if (GetCurFocus() == LastTab) return;
  HWND old = PageWindow(LastTab);
  if (old != nullptr) ::ShowWindow(old, SW_HIDE);
  int focused = GetCurFocus();
  // Only a tab we inserted can be focused, but an index is never trusted blindly.
  if (focused < 0 || focused >= kCategoryCount) focused = 0;
  LastTab = focused;
  HWND shown = PageWindow(LastTab);
  if (shown != nullptr) {
    ::ShowWindow(shown, SW_SHOW);
    ::SetFocus(shown);
  }
}

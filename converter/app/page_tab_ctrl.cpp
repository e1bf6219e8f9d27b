#include "converter/app/page_tab_ctrl.h"

#include "converter/app/app_state.h"
#include "converter/pages/conversion_page.h"

CPageTabCtrl* PageTabs = nullptr;

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

void CPageTabCtrl::ShowTab(int tab) {
  SetCurFocus(tab);
  SetCurSel(tab);
}

HWND CPageTabCtrl::NextTabStop(HWND focus, bool backwards) const {
  HWND page = PageWindow(LastTab);
  if (page == nullptr) return m_hWnd;
  // The page's own control that holds the focus; none when the tab strip has it.
  HWND from = focus;
  while (from != nullptr && ::GetParent(from) != page) from = ::GetParent(from);
  const UINT step = backwards ? GW_HWNDPREV : GW_HWNDNEXT;
  HWND child = nullptr;
  if (from != nullptr) {
    child = ::GetWindow(from, step);
  } else {
    child = ::GetWindow(page, GW_CHILD);
    if (backwards && child != nullptr) child = ::GetWindow(child, GW_HWNDLAST);
  }
  for (; child != nullptr; child = ::GetWindow(child, step)) {
    const LONG style = ::GetWindowLongA(child, GWL_STYLE);
    if ((style & (WS_TABSTOP | WS_VISIBLE | WS_DISABLED)) == (WS_TABSTOP | WS_VISIBLE)) return child;
  }
  return m_hWnd;
}

void CPageTabCtrl::DropDefaultButtons(HWND keep) const {
  for (CConversionPage* page : m_pages)
    if (page != nullptr) page->DropDefaultButtons(keep);
}

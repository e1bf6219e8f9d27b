// The dialog-class layer: message tables, virtual hooks, modal and modeless use.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/framework/dialog.h"
#include "common/framework/tab_ctrl.h"

namespace {

const UINT kProbe = WM_APP + 7;

// A message whose number is known only at run time, as the shell's are.
UINT RegisteredProbe() {
  static const UINT message = ::RegisterWindowMessageA("QuantaraFrameworkProbe");
  return message;
}

class CProbeTabs : public CTabCtrl {
 public:
  int clicks = 0;
  DECLARE_MESSAGE_TABLE()
 private:
  LRESULT OnLButtonDown(WPARAM, LPARAM) {
    ++clicks;
    return Default();
  }
};

BEGIN_MESSAGE_TABLE(CProbeTabs, CTabCtrl)
  ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
END_MESSAGE_TABLE()

class CBaseProbe : public CDialog {
 public:
  explicit CBaseProbe(UINT id) : CDialog(id) {}
  std::vector<std::string> log;
  DECLARE_MESSAGE_TABLE()
 protected:
  LRESULT OnProbe(WPARAM wParam, LPARAM) {
    log.push_back("base probe " + std::to_string(wParam));
    return 11;
  }
  LRESULT OnBaseOnly(WPARAM, LPARAM) {
    log.push_back("base only");
    return 12;
  }
};

BEGIN_MESSAGE_TABLE(CBaseProbe, CDialog)
  ON_MESSAGE(kProbe, OnProbe)
  ON_MESSAGE(kProbe + 1, OnBaseOnly)
END_MESSAGE_TABLE()

class CProbeDialog : public CBaseProbe {
 public:
  CProbeDialog() : CBaseProbe(300) {}
  CProbeTabs tabs;
  bool attachedAtInit = false;
  bool sawInit = false;
  int cancels = 0;
  bool endOnCancel = false;
  std::vector<UINT> unhandled;

  BOOL OnInitDialog() override {
    sawInit = true;
    attachedAtInit = m_hWnd != nullptr && CWnd::FromHandle(m_hWnd) == this;
    CBaseProbe::OnInitDialog();
    tabs.InsertItem(0, "One");
    tabs.InsertItem(1, "Two");
    // Run the checks from inside the modal loop, then leave it.
    PostMessage(kProbe + 2);
    return TRUE;
  }
  void DoDataExchange(CDataExchange* exchange) override { DDX_Control(exchange, 1003, tabs); }
  void OnCancel() override {
    ++cancels;
    if (endOnCancel) CBaseProbe::OnCancel();
  }
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == kProbe + 3) unhandled.push_back(message);
    return CBaseProbe::DefWindowProc(message, wParam, lParam);
  }
  std::function<void(CProbeDialog*)> checks;
  DECLARE_MESSAGE_TABLE()
 private:
  LRESULT OnProbe(WPARAM wParam, LPARAM) {
    log.push_back("derived probe " + std::to_string(wParam));
    return 21;
  }
  LRESULT OnPress(WPARAM, LPARAM) {
    log.push_back("press");
    return 0;
  }
  LRESULT OnRange(WPARAM wParam, LPARAM) {
    // An edit box also reports EN_UPDATE, whose number Wine and Windows may send in any order.
    if (HIWORD(wParam) == EN_CHANGE) log.push_back("range " + std::to_string(LOWORD(wParam)) + " change");
    return 0;
  }
  LRESULT OnRegistered(WPARAM wParam, LPARAM) {
    log.push_back("registered " + std::to_string(wParam));
    return 31;
  }
  LRESULT OnRunChecks(WPARAM, LPARAM) {
    if (checks) checks(this);
    return 0;
  }
};

BEGIN_MESSAGE_TABLE(CProbeDialog, CBaseProbe)
  ON_MESSAGE(kProbe, OnProbe)
  ON_MESSAGE(kProbe + 2, OnRunChecks)
  ON_COMMAND_ID(1002, OnPress)
  ON_COMMAND_RANGE(1000, 1002, OnRange)
  ON_MESSAGE(RegisteredProbe(), OnRegistered)
END_MESSAGE_TABLE()

TEST(DialogLayer, ModalDialogRoutesMessagesThroughItsTables) {
  CProbeDialog dialog;
  dialog.checks = [](CProbeDialog* self) {
    HWND window = self->m_hWnd;
    EXPECT_EQ(self, CWnd::FromHandle(window));
    // The derived table wins; the base table serves what the derived one lacks.
    EXPECT_EQ(21, ::SendMessageA(window, kProbe, 5, 0));
    EXPECT_EQ(12, ::SendMessageA(window, kProbe + 1, 0, 0));
    // Not in any table: the virtual DefWindowProc sees it.
    ::SendMessageA(window, kProbe + 3, 0, 0);
    EXPECT_EQ(31, ::SendMessageA(window, RegisteredProbe(), 4, 0));
    // Commands: a button click goes to its own entry, which comes before the
    // range; the edit box's notification falls in the range, its code intact.
    ::SendMessageA(::GetDlgItem(window, 1002), BM_CLICK, 0, 0);
    ::SetDlgItemTextA(window, 1001, "typed");
    // The tab control is bound and routed through its own table.
    EXPECT_EQ(::GetDlgItem(window, 1003), self->tabs.m_hWnd);
    EXPECT_EQ(2, self->tabs.GetItemCount());
    ::SendMessageA(self->tabs.m_hWnd, WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
    ::SendMessageA(self->tabs.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(1, self->tabs.clicks);
    // Escape reaches the overridden OnCancel, which keeps the dialog open...
    ::SendMessageA(window, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(::IsWindow(window));
    // ...and the base OnCancel ends it.
    self->endOnCancel = true;
    ::PostMessageA(window, WM_CLOSE, 0, 0);
  };
  EXPECT_EQ(IDCANCEL, dialog.DoModal());
  EXPECT_TRUE(dialog.sawInit);
  EXPECT_TRUE(dialog.attachedAtInit) << "the object has its window when it initialises";
  EXPECT_EQ(2, dialog.cancels);
  EXPECT_EQ(1u, dialog.unhandled.size());
  std::vector<std::string> expected = {"derived probe 5", "base only", "registered 4", "press", "range 1001 change"};
  EXPECT_EQ(expected, dialog.log);
  EXPECT_EQ(nullptr, dialog.m_hWnd) << "the object lets go of its window when it is destroyed";
}

class CPage : public CDialog {
 public:
  CPage() : CDialog(301) {}
  int inits = 0;
  BOOL OnInitDialog() override {
    ++inits;
    return CDialog::OnInitDialog();
  }
};

TEST(DialogLayer, ModelessChildDialogs) {
  HWND parent = ::CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr,
                                ::GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(nullptr, parent);
  CWnd host;
  ASSERT_TRUE(host.SubclassWindow(parent));
  CPage first;
  CPage second;
  ASSERT_TRUE(first.Create(301, &host));
  ASSERT_TRUE(second.Create(301, &host));
  EXPECT_EQ(1, first.inits);
  EXPECT_EQ(1, second.inits);
  EXPECT_NE(first.m_hWnd, second.m_hWnd);
  EXPECT_EQ(parent, ::GetParent(first.m_hWnd));
  EXPECT_NE(nullptr, first.GetDlgItem(1101));
  const HWND windows[] = {parent, first.m_hWnd, second.m_hWnd};
  ::DestroyWindow(parent);  // destroys the pages with it
  for (HWND window : windows) EXPECT_EQ(nullptr, CWnd::FromHandle(window)) << "a destroyed window is forgotten";
  EXPECT_EQ(nullptr, first.m_hWnd);
  EXPECT_EQ(nullptr, second.m_hWnd);
  EXPECT_EQ(nullptr, host.m_hWnd);
}

TEST(DialogLayer, OneObjectPerWindowUntilItLetsGo) {
  HWND window = ::CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, ::GetModuleHandleA(nullptr),
                                nullptr);
  ASSERT_NE(nullptr, window);
  const LONG_PTR originalProc = ::GetWindowLongPtrA(window, GWLP_WNDPROC);
  {
    CWnd object;
    ASSERT_TRUE(object.SubclassWindow(window));
    EXPECT_EQ(&object, CWnd::FromHandle(window));
    CWnd second;
    EXPECT_FALSE(second.SubclassWindow(window));
  }
  EXPECT_EQ(nullptr, CWnd::FromHandle(window)) << "the object's end lets go of the window";
  CWnd again;
  ASSERT_TRUE(again.SubclassWindow(window));
  EXPECT_EQ(window, again.UnsubclassWindow());
  EXPECT_EQ(nullptr, CWnd::FromHandle(window));
  EXPECT_EQ(originalProc, ::GetWindowLongPtrA(window, GWLP_WNDPROC));
  ::DestroyWindow(window);
}

// A modal dialog that ends itself once initialised, optionally after running
// another dialog modally from inside its own modal loop.
class CSelfEnding : public CDialog {
 public:
  CSelfEnding() : CDialog(300) {}
  CSelfEnding* nested = nullptr;
  int inits = 0;
  bool attached = false;
  INT_PTR nestedResult = 0;
  BOOL OnInitDialog() override {
    ++inits;
    attached = CWnd::FromHandle(m_hWnd) == this;
    CDialog::OnInitDialog();
    PostMessage(kProbe);
    return TRUE;
  }
  DECLARE_MESSAGE_TABLE()
 private:
  LRESULT OnProbe(WPARAM, LPARAM) {
    if (nested != nullptr) {
      nested->m_parent = this;
      nestedResult = nested->DoModal();
      // The outer window still reaches its own object after the inner one ended.
      attached = attached && CWnd::FromHandle(m_hWnd) == this;
    }
    EndDialog(IDOK + 40);
    return 0;
  }
};

BEGIN_MESSAGE_TABLE(CSelfEnding, CDialog)
  ON_MESSAGE(kProbe, OnProbe)
END_MESSAGE_TABLE()

TEST(DialogLayer, EveryRunOfADialogReachesItsObject) {
  // The same object twice in a row, as the installer's pages are run.
  CSelfEnding again;
  for (int run = 1; run <= 2; ++run) {
    EXPECT_EQ(IDOK + 40, again.DoModal()) << run;
    EXPECT_EQ(run, again.inits);
    EXPECT_TRUE(again.attached) << run;
    EXPECT_EQ(nullptr, again.m_hWnd) << run;
  }
  // A dialog opened from a handler of another, as the About box is from the main window.
  CSelfEnding outer;
  CSelfEnding inner;
  outer.nested = &inner;
  EXPECT_EQ(IDOK + 40, outer.DoModal());
  EXPECT_EQ(IDOK + 40, outer.nestedResult);
  EXPECT_TRUE(outer.attached);
  EXPECT_TRUE(inner.attached);
  EXPECT_EQ(1, inner.inits);
  // A template that does not exist: no window, no object attached, no crash.
  CPage missing;
  EXPECT_FALSE(missing.Create(399, nullptr));
  EXPECT_EQ(nullptr, missing.m_hWnd);
  EXPECT_EQ(0, missing.inits);
}

}  // namespace

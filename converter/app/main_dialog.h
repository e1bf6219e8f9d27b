// The converter's main window: a tab control holding the seven conversion
// pages, the menu bar, the tray icon, and the start and close of the program.
#pragma once
#include "common/framework/dialog.h"
#include "converter/app/page_tab_ctrl.h"

class CAboutDialog;

class CMainDialog : public CDialog {
 public:
  CMainDialog();
  ~CMainDialog() override;

  void DoDataExchange(CDataExchange* exchange) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;

  // Deletes the page objects once the window is gone.
  void ClosePageTabs() { m_tabs.ClosePageTabs(); }

  DECLARE_MESSAGE_TABLE()

 private:
  LRESULT OnPaint(WPARAM, LPARAM);
  LRESULT OnQueryDragIcon(WPARAM, LPARAM);
  LRESULT OnTabChanged(WPARAM, LPARAM);
  LRESULT OnClose(WPARAM, LPARAM);
  LRESULT OnSize(WPARAM, LPARAM);
  LRESULT OnDestroy(WPARAM, LPARAM);
  LRESULT OnWindowPosChanging(WPARAM, LPARAM);
  LRESULT OnNextControl(WPARAM, LPARAM);
  LRESULT OnSetFocus(WPARAM, LPARAM);
  LRESULT OnMoveOrActivate(WPARAM, LPARAM);
  LRESULT OnEndSession(WPARAM, LPARAM);
  LRESULT OnTimeChange(WPARAM, LPARAM);
  LRESULT OnTrayCallback(WPARAM, LPARAM);
  LRESULT OnTaskbarCreated(WPARAM, LPARAM);
  // A later start asks this copy to come to the front.
  LRESULT OnBringForward(WPARAM, LPARAM);

  // Menu commands.
  LRESULT OnExitCommand(WPARAM, LPARAM);
  LRESULT OnUseTrayCommand(WPARAM, LPARAM);
  LRESULT OnHideAtStartupCommand(WPARAM, LPARAM);
  LRESULT OnHideCommand(WPARAM, LPARAM);
  LRESULT OnHelpCommand(WPARAM, LPARAM);
  LRESULT OnDocumentCommand(WPARAM, LPARAM);  // read-me or manual
  LRESULT OnWebPageCommand(WPARAM, LPARAM);   // web site or questions page
  LRESULT OnEmailCommand(WPARAM, LPARAM);
  LRESULT OnPhoneCommand(WPARAM, LPARAM);
  LRESULT OnAboutCommand(WPARAM, LPARAM);

  // Keys the dialog manager does not know for tabbed pages: Tab through the tab
  // strip and the shown page, Ctrl+Tab and Ctrl+PageDown/PageUp between pages.
  bool OnDialogKey(WPARAM key);
  static LRESULT CALLBACK DialogKeyFilter(int code, WPARAM wParam, LPARAM lParam);
  // The About box ends with the main window, or the program would stay behind it.
  // Ends the About box or the first-run notice, whichever is open, so an exit command closes it too.
  void EndModalBox();

  void ShowFirstRunNotice();
  // Saves everything and lets the window close; false when it already ran.
  bool RunCloseProcedure();
  void OnTrayMouse(WPARAM iconId, LPARAM mouseMessage);
  void SetMenuCheck(UINT command, bool checked);

  CPageTabCtrl m_tabs;
  HICON m_icon = nullptr;
  HHOOK m_keyFilter = nullptr;
  CDialog* m_modalBox = nullptr;  // the About box or the first-run notice while it is open
  // Start-up hiding: the hide command was posted, and then ran. The dialog
  // manager may show a dialog that is still hidden when its queue first runs
  // empty; that one show is refused so the window stays in the tray.
  bool m_startupHidePosted = false;
  bool m_keepHiddenOnce = false;
  // A later start asked for this window: the start-up hiding no longer applies.
  bool m_startupHideCancelled = false;
};

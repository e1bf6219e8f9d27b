#include "converter/app/main_dialog.h"

#include <direct.h>
#include <string.h>

#include <cstdio>

#include "common/registry.h"
#include "common/ui_helpers.h"
#include "converter/app/about_dialog.h"
#include "converter/app/app_state.h"
#include "converter/app/notice_dialog.h"
#include "converter/app/running_copy.h"
#include "common/product.h"
#include "converter/app/settings.h"
#include "converter/app/splash_dialog.h"
#include "converter/app/startup_marks.h"
#include "converter/app/tray_icon.h"
#include "converter/pages/conversion_page.h"
#include "converter/support/documents.h"
#include "converter/support/support_form.h"
#include "converter/support/system_description.h"
#include "converter/support/web_addresses.h"
#include "resource.h"

namespace {
const char kNoticeFormat[] =
    "%s is installed on your Hard-Drive.\n\n"
    "You will notice that a Group has been Created and there are several icons in it. "
    "Among the icons you should see [%s], [Help], [Read Me], [Manual], and [UnInstall].\n\n"
    "Select [OK] to start %s and converting.";

// The main window whose keys the message filter looks at.
CMainDialog* g_keyWindow = nullptr;

HICON LoadSmallIcon(WORD id) {
  return static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON,
                                         ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0));
}
}  // namespace

BEGIN_MESSAGE_TABLE(CMainDialog, CDialog)
  ON_MESSAGE(WM_PAINT, OnPaint)
  ON_MESSAGE(WM_QUERYDRAGICON, OnQueryDragIcon)
  ON_NOTIFY_CODE(TCN_SELCHANGE, IDC_PAGE_TABS, OnTabChanged)
  ON_MESSAGE(WM_CLOSE, OnClose)
  ON_MESSAGE(WM_SIZE, OnSize)
  ON_MESSAGE(WM_DESTROY, OnDestroy)
  ON_MESSAGE(WM_WINDOWPOSCHANGING, OnWindowPosChanging)
  ON_MESSAGE(WM_NEXTDLGCTL, OnNextControl)
  ON_MESSAGE(WM_SETFOCUS, OnSetFocus)
  ON_MESSAGE(WM_MOVE, OnMoveOrActivate)
  ON_MESSAGE(WM_ACTIVATE, OnMoveOrActivate)
  ON_MESSAGE(WM_ENDSESSION, OnEndSession)
  ON_MESSAGE(WM_TIMECHANGE, OnTimeChange)
  ON_MESSAGE(TrayCallbackMessage, OnTrayCallback)
  ON_MESSAGE(TaskbarCreatedMessage, OnTaskbarCreated)
  ON_MESSAGE(BringForwardMessage(), OnBringForward)
  ON_COMMAND_ID(ID_FILE_EXIT, OnExitCommand)
  ON_COMMAND_ID(ID_TRAY_EXIT, OnExitCommand)
  ON_COMMAND_ID(ID_REMOTE_CLOSE, OnExitCommand)
  ON_COMMAND_ID(ID_OPTIONS_USE_TRAY, OnUseTrayCommand)
  ON_COMMAND_ID(ID_OPTIONS_HIDE_AT_STARTUP, OnHideAtStartupCommand)
  ON_COMMAND_ID(ID_HIDE, OnHideCommand)
  ON_COMMAND_ID(ID_HELP_HELP, OnHelpCommand)
  ON_COMMAND_ID(ID_HELP_README, OnDocumentCommand)
  ON_COMMAND_ID(ID_HELP_MANUAL, OnDocumentCommand)
  ON_COMMAND_ID(ID_SUPPORT_WEB_SITE, OnWebPageCommand)
  ON_COMMAND_ID(ID_SUPPORT_FAQ, OnWebPageCommand)
  ON_COMMAND_ID(ID_SUPPORT_EMAIL, OnEmailCommand)
  ON_COMMAND_ID(ID_SUPPORT_PHONE, OnPhoneCommand)
  ON_COMMAND_ID(ID_HELP_ABOUT, OnAboutCommand)
END_MESSAGE_TABLE()

CMainDialog::CMainDialog() : CDialog(IDD_MAIN), m_icon(LoadSmallIcon(IDI_PROGRAM)) {}

CMainDialog::~CMainDialog() {
  if (m_icon != nullptr) ::DestroyIcon(m_icon);
}

void CMainDialog::DoDataExchange(CDataExchange* exchange) {
  CDialog::DoDataExchange(exchange);
  DDX_Control(exchange, IDC_PAGE_TABS, m_tabs);
}

BOOL CMainDialog::OnInitDialog() {
  STARTUP_MARK("main window created from its template");
  CDialog::OnInitDialog();
  MarkRunningCopyWindow(m_hWnd);
  // The modal loop offers every message to this filter before the dialog manager.
  g_keyWindow = this;
  m_keyFilter = ::SetWindowsHookExA(WH_MSGFILTER, &CMainDialog::DialogKeyFilter, nullptr, ::GetCurrentThreadId());

  if (_stricmp(CommandLineCopy, kFirstRunArgument) == 0) ShowFirstRunNotice();

  SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));
  SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));

  // The installer finds a running converter through this value.
  WriteRegUnsigned(kHandlesKey, kTransHandleValue, HandleToULong(m_hWnd), ProductRegKey);
  CenterWindow();
  ::SetWindowTextA(m_hWnd, kMainTitle);

  STARTUP_MARK("icons, window handle stored, centred, title");
  BuildSystemDescription();
  STARTUP_MARK("system description");
  LoadAllSettings();
  STARTUP_MARK("settings");
  _chdir(ProgramDir);
  WriteSupportFiles(m_hWnd);
  STARTUP_MARK("support files");

  if (UseSystemTray == 1) {
    SetMenuCheck(ID_OPTIONS_USE_TRAY, true);
    ::DrawMenuBar(m_hWnd);
    MinimizeShowCommand = SW_HIDE;
    AddTrayIcon(m_hWnd);
  } else {
    MinimizeShowCommand = SW_MINIMIZE;
  }

  STARTUP_MARK("tray icon");
  // The seven tabs share the width of the window.
  RECT tabsRect = {};
  ::GetWindowRect(m_tabs.m_hWnd, &tabsRect);
  m_tabs.SetMinTabWidth((tabsRect.right - tabsRect.left - 8) / 7);
  // The tab strip draws nothing while its tabs and pages are added, only once at the end.
  m_tabs.SendMessage(WM_SETREDRAW, FALSE);
  for (int tab = 0; tab < kCategoryCount; ++tab) m_tabs.InsertItem(tab, CategoryAt(tab)->name);
  m_tabs.CreatePages();
  m_tabs.SendMessage(WM_SETREDRAW, TRUE);
  SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_tabs.PageWindow(LastTab)), TRUE);
  STARTUP_MARK("pages placed, focus");

  if (HideInTrayOnStartup == 1) {
    SetMenuCheck(ID_OPTIONS_HIDE_AT_STARTUP, true);
    ::DrawMenuBar(m_hWnd);
    if (UseSystemTray == 1 && !m_startupHideCancelled) {
      m_startupHidePosted = true;
      PostMessage(WM_COMMAND, ID_HIDE, 0);
    }
  }
  AppInitializing = 0;
  SplashWindow.HideSplash();
  STARTUP_MARK("start-up picture hidden");
  return FALSE;
}

void CMainDialog::ShowFirstRunNotice() {
  PumpMessagesFor(1000, 0);
  SplashWindow.HideSplash();
  char body[512];
  snprintf(body, sizeof body, kNoticeFormat, kProductName, kProductName, kProductName);
  CNoticeDialog notice;
  notice.m_caption = kProductName;
  notice.m_body = body;
  // The installer's close command may come while the notice is open.
  m_modalBox = &notice;
  notice.DoModal();
  m_modalBox = nullptr;
}

void CMainDialog::SetMenuCheck(UINT command, bool checked) {
  ::CheckMenuItem(::GetMenu(m_hWnd), command, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

// The exit commands end the program without saving the settings.
LRESULT CMainDialog::OnExitCommand(WPARAM, LPARAM) {
  AppExiting = 1;
  OnOK();
  return 0;
}

LRESULT CMainDialog::OnHideCommand(WPARAM, LPARAM) {
  const bool startupHide = m_startupHidePosted;
  m_startupHidePosted = false;
  // A later start asked for the window before the start-up hiding ran.
  if (startupHide && m_startupHideCancelled) return 0;
  m_keepHiddenOnce = startupHide && MinimizeShowCommand == SW_HIDE;
  ShowWindow(SW_MINIMIZE);
  return 0;
}

LRESULT CMainDialog::OnHelpCommand(WPARAM, LPARAM) {
  OpenHelpPage(m_hWnd);
  return 0;
}

LRESULT CMainDialog::OnDocumentCommand(WPARAM command, LPARAM) {
  OpenProgramDocument(m_hWnd, LOWORD(command) == ID_HELP_README ? kReadMeFileName : kManualFileName);
  return 0;
}

LRESULT CMainDialog::OnWebPageCommand(WPARAM command, LPARAM) {
  OpenWebPage(m_hWnd, LOWORD(command) == ID_SUPPORT_FAQ ? kFaqUrl : kWebSiteUrl);
  return 0;
}

LRESULT CMainDialog::OnEmailCommand(WPARAM, LPARAM) {
  SendSupportEmailForm(m_hWnd);
  return 0;
}

LRESULT CMainDialog::OnPhoneCommand(WPARAM, LPARAM) {
  ShowPhoneSupport(m_hWnd);
  return 0;
}

// The check mark, not the variable, says which way the toggle goes.
LRESULT CMainDialog::OnUseTrayCommand(WPARAM, LPARAM) {
  if (::GetMenuState(::GetMenu(m_hWnd), ID_OPTIONS_USE_TRAY, MF_BYCOMMAND) & MF_CHECKED) {
    UseSystemTray = 0;
    SetMenuCheck(ID_OPTIONS_USE_TRAY, false);
    MinimizeShowCommand = SW_MINIMIZE;
    DeleteTrayIcon(m_hWnd);
  } else {
    UseSystemTray = 1;
    SetMenuCheck(ID_OPTIONS_USE_TRAY, true);
    MinimizeShowCommand = SW_HIDE;
    AddTrayIcon(m_hWnd);
  }
  ::DrawMenuBar(m_hWnd);
  return 0;
}

LRESULT CMainDialog::OnHideAtStartupCommand(WPARAM, LPARAM) {
  if (::GetMenuState(::GetMenu(m_hWnd), ID_OPTIONS_HIDE_AT_STARTUP, MF_BYCOMMAND) & MF_CHECKED) {
    HideInTrayOnStartup = 0;
    SetMenuCheck(ID_OPTIONS_HIDE_AT_STARTUP, false);
  } else {
    SetMenuCheck(ID_OPTIONS_HIDE_AT_STARTUP, true);
    HideInTrayOnStartup = 1;
  }
  ::DrawMenuBar(m_hWnd);
  return 0;
}

LRESULT CMainDialog::OnAboutCommand(WPARAM, LPARAM) {
  AboutBoxOpen = 1;
  CAboutDialog about;
  m_modalBox = &about;
  about.DoModal();
  m_modalBox = nullptr;
  AboutBoxOpen = 0;
  return 0;
}

void CMainDialog::EndModalBox() {
  if (m_modalBox != nullptr && m_modalBox->m_hWnd != nullptr) m_modalBox->EndDialog(IDCANCEL);
}

LRESULT CALLBACK CMainDialog::DialogKeyFilter(int code, WPARAM wParam, LPARAM lParam) {
  const MSG* message = reinterpret_cast<const MSG*>(lParam);
  if (code == MSGF_DIALOGBOX && message != nullptr && message->message == WM_KEYDOWN && g_keyWindow != nullptr &&
      (message->hwnd == g_keyWindow->m_hWnd || ::IsChild(g_keyWindow->m_hWnd, message->hwnd)) &&
      g_keyWindow->OnDialogKey(message->wParam))
    return TRUE;
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

bool CMainDialog::OnDialogKey(WPARAM key) {
  if (::GetKeyState(VK_MENU) < 0) return false;
  const bool control = ::GetKeyState(VK_CONTROL) < 0;
  const bool shift = ::GetKeyState(VK_SHIFT) < 0;
  if (control && (key == VK_TAB || key == VK_NEXT || key == VK_PRIOR)) {
    const bool backwards = key == VK_PRIOR || (key == VK_TAB && shift);
    m_tabs.ShowTab((LastTab + (backwards ? kCategoryCount - 1 : 1)) % kCategoryCount);
    return true;
  }
  if (key != VK_TAB) return false;
  HWND focus = ::GetFocus();
  if (focus != nullptr && (::SendMessageA(focus, WM_GETDLGCODE, key, 0) & (DLGC_WANTTAB | DLGC_WANTALLKEYS)))
    return false;
  SendMessage(WM_NEXTDLGCTL, shift ? 1 : 0, FALSE);
  return true;
}

// Every move of the focus between controls comes here: Tab, the arrow keys, a
// group box's mnemonic. A relative move follows the tab strip and the shown
// page only; whatever the move, no button stays marked as the default.
LRESULT CMainDialog::OnNextControl(WPARAM wParam, LPARAM lParam) {
  HWND target = reinterpret_cast<HWND>(wParam);
  if (LOWORD(lParam) == 0) target = m_tabs.NextTabStop(::GetFocus(), wParam != 0);
  LRESULT result = CDialog::DefWindowProc(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
  m_tabs.DropDefaultButtons(::GetFocus());
  return result;
}

// The window itself has the focus when it comes back from the tray or the
// taskbar; the focus goes on into the shown page, and there into its last used box.
LRESULT CMainDialog::OnSetFocus(WPARAM, LPARAM) {
  HWND page = m_tabs.PageWindow(LastTab);
  if (AppInitializing == 1 || page == nullptr) return Default();
  SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(page), TRUE);
  return 0;
}

LRESULT CMainDialog::OnBringForward(WPARAM, LPARAM) {
  if (AppClosing == 1 || AppExiting == 1) return 0;
  m_startupHideCancelled = true;
  // Still starting: the window shows itself when its start ends.
  if (AppInitializing == 1) return 1;
  if (!::IsWindowVisible(m_hWnd)) {
    m_keepHiddenOnce = false;
    ShowWindow(SW_SHOWNORMAL);
  } else if (::IsIconic(m_hWnd)) {
    ShowWindow(SW_RESTORE);
  }
  ::SetForegroundWindow(m_hWnd);
  return 1;
}

// The shell restarted and forgot our icon.
LRESULT CMainDialog::OnTaskbarCreated(WPARAM, LPARAM) {
  if (UseSystemTray == 1) AddTrayIcon(m_hWnd);
  return Default();
}

LRESULT CMainDialog::OnMoveOrActivate(WPARAM, LPARAM) {
  PageEraseAllowance = 2;
  return Default();
}

// The session ends whatever the message's arguments say; the settings are saved first.
LRESULT CMainDialog::OnEndSession(WPARAM, LPARAM) {
  if (AppClosing == 0) RunCloseProcedure();
  return Default();
}

LRESULT CMainDialog::OnTimeChange(WPARAM, LPARAM) {
  TimeChangeBreaks = 10;
  return Default();
}

LRESULT CMainDialog::OnTrayCallback(WPARAM iconId, LPARAM mouseMessage) {
  OnTrayMouse(iconId, mouseMessage);
  return Default();
}

void CMainDialog::OnTrayMouse(WPARAM iconId, LPARAM mouseMessage) {
  if (mouseMessage == WM_LBUTTONUP) {
    if (iconId != 1 || MinimizeShowCommand != SW_HIDE) return;
    if (::IsWindowVisible(m_hWnd)) {
      ShowWindow(SW_MINIMIZE);
    } else {
      m_keepHiddenOnce = false;
      ShowWindow(SW_SHOWNORMAL);
      ::SetForegroundWindow(m_hWnd);
    }
  } else if (mouseMessage == WM_RBUTTONUP) {
    POINT cursor = {};
    ::GetCursorPos(&cursor);
    if (AppExiting != 0 || AboutBoxOpen != 0) return;
    HMENU menu = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TRAY_MENU));
    if (menu == nullptr) return;
    HMENU popup = ::GetSubMenu(menu, 0);
    if (popup != nullptr) {
      ::SetForegroundWindow(m_hWnd);
      ::TrackPopupMenu(popup, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, m_hWnd, nullptr);
      // Lets the menu close when the user clicks elsewhere.
      PostMessage(WM_NULL, 0, 0);
    }
    ::DestroyMenu(menu);
  }
}

bool CMainDialog::RunCloseProcedure() {
  SplashWindow.HideSplash();
  if (AppClosing == 1) return false;
  AppClosing = 1;
  SaveAllSettings();
  AppExiting = 1;
  return true;
}

LRESULT CMainDialog::OnClose(WPARAM, LPARAM) {
  if (!RunCloseProcedure()) return 0;
  // The dialog manager turns the close into IDCANCEL, which now ends the dialog.
  return Default();
}

// Enter in a unit box reaches the main window as IDOK; ending there would drop
// everything typed since the start without saving it. Only the exit commands,
// which set AppExiting first, end the window this way.
void CMainDialog::OnOK() {
  if (AppExiting != 1) return;
  EndModalBox();
  CDialog::OnOK();
}

void CMainDialog::OnCancel() {
  if (AppExiting != 1) return;
  EndModalBox();
  CDialog::OnCancel();
}

LRESULT CMainDialog::OnSize(WPARAM wParam, LPARAM) {
  LRESULT result = Default();
  if (wParam == SIZE_MINIMIZED) ShowWindow(MinimizeShowCommand);
  return result;
}

LRESULT CMainDialog::OnWindowPosChanging(WPARAM, LPARAM lParam) {
  WINDOWPOS* position = reinterpret_cast<WINDOWPOS*>(lParam);
  if (m_keepHiddenOnce && position != nullptr && (position->flags & SWP_SHOWWINDOW) && !::IsWindowVisible(m_hWnd)) {
    m_keepHiddenOnce = false;
    position->flags &= ~SWP_SHOWWINDOW;
  }
  return Default();
}

LRESULT CMainDialog::OnQueryDragIcon(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(m_icon); }

LRESULT CMainDialog::OnTabChanged(WPARAM, LPARAM) {
  m_tabs.SwitchPage();
  return 0;
}

LRESULT CMainDialog::OnPaint(WPARAM, LPARAM) {
  if (::IsIconic(m_hWnd)) return PaintMinimised(m_icon);
  PAINTSTRUCT paint;
  ::BeginPaint(m_hWnd, &paint);
  // The pages paint themselves; the visible one is brought up to date at once.
  if (AppInitializing == 0) {
    for (int tab = 0; tab < kCategoryCount; ++tab) {
      HWND page = m_tabs.PageWindow(tab);
      if (page != nullptr && ::IsWindowVisible(page)) {
        ::UpdateWindow(page);
        break;
      }
    }
  }
  ::EndPaint(m_hWnd, &paint);
  if (AppInitializing == 0) {
    STARTUP_MARK("main window shown and painted");
    STARTUP_MARKS_DONE();
  }
  return 0;
}

LRESULT CMainDialog::OnDestroy(WPARAM, LPARAM) {
  LRESULT result = Default();
  UnmarkRunningCopyWindow(m_hWnd);
  if (m_keyFilter != nullptr) ::UnhookWindowsHookEx(m_keyFilter);
  m_keyFilter = nullptr;
  g_keyWindow = nullptr;
  SplashWindow.HideSplash();
  WriteRegUnsigned(kHandlesKey, kTransHandleValue, 0, ProductRegKey);
  if (MinimizeShowCommand == SW_HIDE) DeleteTrayIcon(m_hWnd);
  return result;
}

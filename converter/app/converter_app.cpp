#include "converter/app/converter_app.h"

#include "common/strings.h"
#include "converter/app/app_state.h"
#include "converter/app/main_dialog.h"
#include "converter/app/running_copy.h"
#include "converter/app/splash_dialog.h"
#include "converter/app/startup_marks.h"
#include "resource.h"

CConverterApp theApp;

BOOL CConverterApp::InitInstance() {
  // Whatever the arguments, a start while a copy runs only brings that copy forward.
  STARTUP_MARK("WinMain, common controls");
  if (BringRunningCopyForward()) return FALSE;
  STARTUP_MARK("running copy check");
  CopyStringBounded(CommandLineCopy, m_lpCmdLine, sizeof CommandLineCopy);
  SplashWindow.Create(IDD_SPLASH, nullptr);
  STARTUP_MARK("start-up picture created");
  SplashWindow.ShowSplash();
  STARTUP_MARK("start-up picture shown, 100 ms wait");
  TrayIconHandle = static_cast<HICON>(::LoadImageA(m_hInstance, MAKEINTRESOURCEA(IDI_TRAY), IMAGE_ICON,
                                                   ::GetSystemMetrics(SM_CXSMICON),
                                                   ::GetSystemMetrics(SM_CYSMICON), 0));
  STARTUP_MARK("tray icon loaded");
  CMainDialog mainDialog;
  mainDialog.DoModal();
  mainDialog.ClosePageTabs();
  // The program ends when the main window has closed.
  return FALSE;
}

#include "converter/app/converter_app.h"

#include "common/strings.h"
#include "converter/app/app_state.h"
#include "converter/app/main_dialog.h"
#include "converter/app/running_copy.h"
#include "converter/app/splash_dialog.h"
#include "resource.h"

CConverterApp theApp;

BOOL CConverterApp::InitInstance() {
  // Whatever the arguments, a start while a copy runs only brings that copy forward.
  if (BringRunningCopyForward()) return FALSE;
  CopyStringBounded(CommandLineCopy, m_lpCmdLine, sizeof CommandLineCopy);
  SplashWindow.Create(IDD_SPLASH, nullptr);
  SplashWindow.ShowSplash();
  TrayIconHandle = static_cast<HICON>(::LoadImageA(m_hInstance, MAKEINTRESOURCEA(IDI_TRAY), IMAGE_ICON,
                                                   ::GetSystemMetrics(SM_CXSMICON),
                                                   ::GetSystemMetrics(SM_CYSMICON), 0));
  CMainDialog mainDialog;
  mainDialog.DoModal();
  mainDialog.ClosePageTabs();
  // The program ends when the main window has closed.
  return FALSE;
}

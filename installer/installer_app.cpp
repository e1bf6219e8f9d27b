#include "installer/installer_app.h"

#include "common/strings.h"
#include "installer/backdrop_dialog.h"
#include "installer/installer_state.h"

CInstallerApp theApp;

namespace {
CBackdropDlg g_backdrop;
}

BOOL CInstallerApp::InitInstance() {
  CopyStringBounded(g_state.commandLine, m_lpCmdLine, sizeof g_state.commandLine);
  g_backdrop.DoModal();
  // The program ends when the backdrop has closed.
  return FALSE;
}

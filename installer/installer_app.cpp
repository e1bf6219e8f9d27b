#include "installer/installer_app.h"

#include "common/strings.h"
#include "installer/backdrop_dialog.h"
#include "installer/installer_state.h"
#include "installer/silent_run.h"
#include "installer/uninstall_steps.h"

CInstallerApp theApp;

namespace {
CBackdropDlg g_backdrop;
}

BOOL CInstallerApp::InitInstance() {
  // What an earlier uninstall could not delete while it ran.
  RemoveUninstallerLeftovers();
  CopyStringBounded(g_state.commandLine, m_lpCmdLine, sizeof g_state.commandLine);
  const InstallerCommand command = ParseInstallerCommand(m_lpCmdLine);
  if (command.silent || command.action == kActionBadArgument) {
    if (!command.silent) {
      ShowMessage(nullptr, kInstallCaption, MB_ICONERROR,
                  "Unknown command line:\n%s\n\nUse /S to install silently, /D=<folder> last for its folder, or "
                  "UnInstall /S to uninstall silently.",
                  m_lpCmdLine);
    }
    m_exitCode = RunSilently(command);
    return FALSE;
  }
  g_backdrop.DoModal();
  m_exitCode = g_state.exitCode;
  // The program ends when the backdrop has closed.
  return FALSE;
}

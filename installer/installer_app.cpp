#include "installer/installer_app.h"

#include "common/strings.h"
#include "installer/backdrop_dialog.h"
#include "installer/installer_lock.h"
#include "installer/installer_state.h"
#include "installer/operation_record.h"
#include "installer/silent_run.h"
#include "installer/uninstall_relay.h"
#include "installer/uninstall_steps.h"

CInstallerApp theApp;

namespace {
CBackdropDlg g_backdrop;
}

BOOL CInstallerApp::InitInstance() {
  CopyStringBounded(g_state.commandLine, m_lpCmdLine, sizeof g_state.commandLine);
  const InstallerCommand command = ParseInstallerCommand(m_lpCmdLine);
  g_state.silent = command.silent;
  InitDriveFolders();
  if (command.action == kActionBadArgument) {
    if (command.silent) {
      StartLog(true);
    } else {
      ShowMessage(nullptr, kInstallCaption, MB_ICONERROR,
                  "Unknown command line:\n%s\n\nUse /S to install silently, /D=<folder> last for its folder, or "
                  "UnInstall /S to uninstall silently.",
                  m_lpCmdLine);
    }
    m_exitCode = RunSilently(command);
    return FALSE;
  }
  // One installer at a time. The uninstall's copy runs under the hold of the
  // relay that waits for it, and holds the work lock itself to its very end.
  const bool underRelay = command.action == kActionUninstall && RelayWaits();
  const bool locked = underRelay ? AcquireWorkLock(kSilentLockWait)
                                 : AcquireInstallerLock(command.silent ? kSilentLockWait : 0);
  // The log of the run that holds the lock is not emptied; the copy goes on in its relay's.
  if (command.silent) StartLog(locked && command.action != kActionUninstall);
  if (!locked) {
    ShowMessage(nullptr, kInstallCaption, MB_ICONINFORMATION,
                "Another installation of %s is in progress.\n\nPlease let it finish, then start this one again.",
                kProductName);
    m_exitCode = Fail(kExitInstallInProgress, "another installation is in progress");
    return FALSE;
  }
  // What a run that was ended half-way left is finished or rolled back first;
  // while that cannot be done, nothing else may begin.
  const int completed = CompleteInterruptedOperation(nullptr, command.action != kActionInstall);
  if (completed != kExitSuccess) {
    m_exitCode = completed;
    ReleaseInstallerLock();
    return FALSE;
  }
  // What an earlier uninstall could not delete while it ran; under the lock, so
  // the copy that a running uninstall has just made is never taken from it.
  RemoveUninstallerLeftovers();
  if (command.silent) {
    m_exitCode = RunSilently(command);
  } else {
    g_backdrop.DoModal();
    m_exitCode = g_state.exitCode;
  }
  ReleaseInstallerLock();
  // The program ends when the backdrop has closed.
  return FALSE;
}

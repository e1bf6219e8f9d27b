#include "installer/uninstall_dialog.h"

#include <cstdio>
#include <cstring>

#include "common/install_rules.h"
#include "common/registry.h"
#include "common/strings.h"
#include "installer/folders.h"
#include "installer/install_modes.h"
#include "installer/installer_state.h"
#include "installer/uninstall_steps.h"
#include "resource.h"

BEGIN_MESSAGE_TABLE(CUninstallDlg, CDialog)
  ON_MESSAGE(WM_CTLCOLORDLG, OnCtlColor)
  ON_MESSAGE(WM_CTLCOLORSTATIC, OnCtlColor)
  ON_MESSAGE(WM_CTLCOLORBTN, OnCtlColor)
  ON_COMMAND_ID(IDC_UNINSTALL_CANCEL, OnCancelCommand)
  ON_COMMAND_ID(IDC_FINISH, OnFinishCommand)
END_MESSAGE_TABLE()

CUninstallDlg::CUninstallDlg(CWnd* parent) : CDialog(IDD_UNINSTALL, parent) {}

LRESULT CUninstallDlg::OnCtlColor(WPARAM wParam, LPARAM) { return DialogColours(wParam); }

BOOL CUninstallDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  char title[64];
  snprintf(title, sizeof title, "%s UnInstall", kProductName);
  ::SetWindowTextA(m_hWnd, title);
  CenterWindow();

  if (!FindRecordedInstallation(ParseInstallerCommand(g_state.commandLine).folder)) {
    HWND owner = m_parent != nullptr ? m_parent->m_hWnd : m_hWnd;
    ShowMessage(owner, kProductName, MB_ICONINFORMATION,
                "The installation of %s that you are UnInstalling from:\n%s\ncan not be found.", kProductName,
                g_state.programDir);
    EndDialog(IDCANCEL);
    return TRUE;
  }
  char text[512];
  snprintf(text, sizeof text,
           "You are UnInstalling [%s] from Folder:\n%s\n\nDoing this will remove folder:\n%s\nfrom this computer and "
           "its sub-folders. It will also remove all your settings.\n\nAre you sure you want to do this?",
           kProductName, g_state.programDir, g_state.programDir);
  ::SetDlgItemTextA(m_hWnd, IDC_CONFIRMATION, text);
  m_answered = false;
  ::SetFocus(GetDlgItem(IDC_UNINSTALL_CANCEL));
  return FALSE;
}

LRESULT CUninstallDlg::OnCancelCommand(WPARAM, LPARAM) {
  Answer(IDCANCEL);
  return 0;
}

// The uninstall itself follows on the backdrop, as the silent run does it.
LRESULT CUninstallDlg::OnFinishCommand(WPARAM, LPARAM) {
  Answer(IDOK);
  return 0;
}

// The first answer counts: a second click while the page closes does nothing.
void CUninstallDlg::Answer(INT_PTR result) {
  ::EnableWindow(GetDlgItem(IDC_UNINSTALL_CANCEL), FALSE);
  ::EnableWindow(GetDlgItem(IDC_FINISH), FALSE);
  if (!m_answered) EndDialog(result);
  m_answered = true;
}

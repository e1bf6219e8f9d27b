#include "installer/backdrop_dialog.h"

#include <direct.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "common/file_safety.h"
#include "common/install_rules.h"
#include "common/registry.h"
#include "common/strings.h"
#include "common/ui_helpers.h"
#include "installer/converter_closing.h"
#include "installer/folders.h"
#include "installer/install_plan.h"
#include "installer/installer_state.h"
#include "installer/payload.h"
#include "installer/shortcuts.h"
#include "installer/uninstall_relay.h"
#include "installer/uninstall_steps.h"
#include "resource.h"

BEGIN_MESSAGE_TABLE(CBackdropDlg, CDialog)
  ON_MESSAGE(WM_PAINT, OnPaint)
  ON_MESSAGE(WM_SIZE, OnSize)
  ON_MESSAGE(WM_QUERYDRAGICON, OnQueryDragIcon)
  ON_MESSAGE(WM_CTLCOLORDLG, OnCtlColor)
  ON_COMMAND_ID(ID_INSTALL_START, OnInstallStart)
  ON_COMMAND_ID(ID_UNINSTALL_START, OnUninstallStart)
END_MESSAGE_TABLE()

namespace {
const unsigned kPictureWidth = 480;
const unsigned kPictureHeight = 344;
}  // namespace

CBackdropDlg::CBackdropDlg()
    : CDialog(IDD_BACKDROP),
      m_icon(static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_INSTALLER), IMAGE_ICON,
                                             ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0))),
      m_locationPage(this),
      m_uninstallPage(this) {}

LRESULT CBackdropDlg::OnCtlColor(WPARAM wParam, LPARAM) { return DialogColours(wParam); }

BOOL CBackdropDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));
  SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));
  CenterWindow();
  InitDriveFolders();
  CloseRunningConverter(m_hWnd);

  const InstallerAction action = ParseInstallerCommand(g_state.commandLine).action;
  if (action == kActionUninstallRelay) {
    RunUninstallRelay();
  } else if (action == kActionUninstall) {
    ShowStage("%s UnInstalling", ID_UNINSTALL_START);
  } else {
    ShowStage("%s Installation", ID_INSTALL_START);
  }
  return TRUE;
}

void CBackdropDlg::ShowStage(const char* titleFormat, UINT startCommand) {
  char title[64];
  snprintf(title, sizeof title, titleFormat, kProductName);
  ::SetWindowTextA(m_hWnd, title);
  ShowWindow(SW_SHOWMAXIMIZED);
  ::UpdateWindow(m_hWnd);
  PostMessage(WM_COMMAND, startCommand, 0);
}

// Posted by ShowStage once the backdrop is up; the backdrop has no controls.
LRESULT CBackdropDlg::OnInstallStart(WPARAM, LPARAM) {
  m_running = true;
  RunInstallSequence();
  m_running = false;
  return 0;
}

LRESULT CBackdropDlg::OnUninstallStart(WPARAM, LPARAM) {
  m_running = true;
  RunUninstallSequence();
  m_running = false;
  return 0;
}

void CBackdropDlg::OnCancel() {
  if (!m_running) CDialog::OnCancel();
}

// The installed uninstaller cannot delete the folder it runs from, so it hands
// over to a copy of itself outside that folder.
void CBackdropDlg::RunUninstallRelay() {
  PumpMessagesFor(128);
  char temporary[kPathSize];
  char copy[kPathSize];
  char folder[kPathSize];
  char arguments[2 * kPathSize];
  // The copy is told which installation to remove: the one this uninstaller
  // belongs to. This run waits for it, holding the installer lock meanwhile.
  if (CopyUninstallerOut(m_hWnd, copy, temporary, folder) &&
      snprintf(arguments, sizeof arguments, "%s %s%s", kUninstallRelayArgument, kFolderSwitch, folder) <
          static_cast<int>(sizeof arguments)) {
    g_state.exitCode = RunCopyAndWait(copy, temporary, arguments);
  } else {
    g_state.exitCode = kExitNotInstalled;
  }
  EndDialog(IDCANCEL);
}

void CBackdropDlg::RunInstallSequence() {
  // Until the installation is whole, the run says it did not install; the
  // page names the reason where there is one (a file not written, no folder).
  g_state.exitCode = kExitCancelled;
  PumpMessagesFor(1000);
  if (m_locationPage.DoModal() != IDOK) {
    ::MessageBoxA(m_hWnd, "Conditions Prevented Proper Installation.", kInstallCaption, MB_ICONWARNING);
    EndDialog(IDCANCEL);
    return;
  }
  ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  BeginWaitCursor();
  // The plan's remaining steps: the links. The old ones stay until the new
  // ones are in place; one that cannot be made undoes the whole installation,
  // so the earlier one keeps working.
  if (g_plan.Apply(true) != kExitSuccess) {
    EndWaitCursor();
    ::MessageBoxA(m_hWnd, "There was an error while creating the group.", kInstallCaption, MB_ICONERROR);
    ::MessageBoxA(m_hWnd, "Conditions Prevented Proper Installation.", kInstallCaption, MB_ICONWARNING);
    g_state.exitCode = kExitFileNotWritable;
    EndDialog(IDCANCEL);
    return;
  }
  g_plan.Finish(m_hWnd);
  g_state.exitCode = kExitSuccess;
  PumpMessagesFor(512);
  StartConverter();
  EndDialog(IDOK);
}

void CBackdropDlg::StartConverter() {
  char program[kPathSize];
  JoinPath(program, g_state.programDir, kConverterFileName);
  _chdir(g_state.programDir);
  ::ShellExecuteA(m_hWnd, "open", program, kFirstRunArgument, g_state.programDir, SW_SHOW);
}

void CBackdropDlg::RunUninstallSequence() {
  g_state.exitCode = kExitCancelled;
  if (ShowMessage(m_hWnd, kProductName, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, "Do you really want to UnInstall %s?",
                  kProductName) != IDYES) {
    EndDialog(IDCANCEL);
    return;
  }
  PumpMessagesFor(1000);
  if (m_uninstallPage.DoModal() != IDOK) {
    EndDialog(IDCANCEL);
    return;
  }
  BeginWaitCursor();
  g_state.exitCode = UninstallProgram(m_hWnd);
  EndWaitCursor();
  EndDialog(IDOK);
}

LRESULT CBackdropDlg::OnPaint(WPARAM, LPARAM) {
  if (::IsIconic(m_hWnd)) return PaintMinimised(m_icon);
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(m_hWnd, &paint);
  PaintCentredBitmap(m_hWnd, dc, kPictureWidth, kPictureHeight);
  ::EndPaint(m_hWnd, &paint);
  return 0;
}

LRESULT CBackdropDlg::OnSize(WPARAM, LPARAM) {
  LRESULT result = Default();
  PaintCentredBitmap(m_hWnd, nullptr, kPictureWidth, kPictureHeight);
  return result;
}

LRESULT CBackdropDlg::OnQueryDragIcon(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(m_icon); }

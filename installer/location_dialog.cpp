#include "installer/location_dialog.h"

#include <commctrl.h>
#include <direct.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "common/install_rules.h"
#include "common/registry.h"
#include "common/strings.h"
#include "common/wide_text.h"
#include "installer/folders.h"
#include "installer/install_modes.h"
#include "installer/install_plan.h"
#include "installer/installer_state.h"
#include "resource.h"

BEGIN_MESSAGE_TABLE(CLocationDlg, CDialog)
  ON_MESSAGE(WM_CTLCOLORDLG, OnCtlColor)
  ON_MESSAGE(WM_CTLCOLORSTATIC, OnCtlColor)
  ON_MESSAGE(WM_CTLCOLORBTN, OnCtlColor)
  ON_MESSAGE(WM_DESTROY, OnDestroy)
  ON_COMMAND_RANGE(IDC_MODE_SHORT_PATH, IDC_MODE_UPGRADE, OnModeCommand)
  ON_COMMAND_ID(IDC_EXIT, OnExitCommand)
  ON_COMMAND_ID(IDC_NEXT, OnNextCommand)
END_MESSAGE_TABLE()

CLocationDlg::CLocationDlg(CWnd* parent) : CDialog(IDD_LOCATION, parent) {}

LRESULT CLocationDlg::OnCtlColor(WPARAM wParam, LPARAM) { return DialogColours(wParam); }

LRESULT CLocationDlg::OnDestroy(WPARAM, LPARAM) {
  // Tooltips are top-level windows of their own; they go with the page.
  if (m_folderTip != nullptr) ::DestroyWindow(m_folderTip);
  if (m_radioTips != nullptr) ::DestroyWindow(m_radioTips);
  m_folderTip = nullptr;
  m_radioTips = nullptr;
  return Default();
}

BOOL CLocationDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  char text[512];
  snprintf(text, sizeof text, "%s Installation", kProductName);
  ::SetWindowTextA(m_hWnd, text);
  snprintf(text, sizeof text,
           "Select a Drive and a Path to the Folder where you want %s to be Installed. If you a not an Admin and/or "
           "you are not sure what to select, just click the [Next] button...",
           kProductName);
  ::SetDlgItemTextA(m_hWnd, IDC_INSTRUCTION, text);
  snprintf(text, sizeof text, "Installing %s to the following Folder . . . ", kProductName);
  ::SetDlgItemTextA(m_hWnd, IDC_FOLDER_LABEL, text);
  CenterWindow();

  g_state.targetFolder[0] = '\0';
  if (::GetCurrentDirectoryA(236, g_state.sourceFolder) == 0) g_state.sourceFolder[0] = '\0';
  ::SetDlgItemTextA(m_hWnd, IDC_SOURCE, g_state.sourceFolder);

  char folder[kPathSize] = {};
  if (!ChooseFirstProposal(folder)) {
    ::MessageBoxA(m_hWnd, "Unable to access a folder to install into.", kProductName, MB_ICONINFORMATION);
    g_state.exitCode = kExitFolderNotCreatable;
    EndDialog(IDCANCEL);
    return TRUE;
  }
  ::CheckRadioButton(m_hWnd, IDC_MODE_SHORT_PATH, IDC_MODE_UPGRADE, g_state.mode);
  ::SendDlgItemMessageA(m_hWnd, IDC_FOLDER, EM_LIMITTEXT, kMaxTargetLength, 0);
  ShowFolder(folder);
  ::SetFocus(GetDlgItem(IDC_NEXT));
  CreateRadioTooltips();
  return FALSE;  // the focus is set
}

bool CLocationDlg::ChooseFirstProposal(char* folder) {
  // The upgrade and short-path steps of the mode chains, silent; the page's
  // own read of the recorded folder takes one character more.
  if (FindUpgradeFolder(folder, 236) || TryShortPath(nullptr, folder, 0)) return true;
  char local[kPathSize];
  if (!GetSpecialFolder(nullptr, CSIDL_LOCAL_APPDATA, local)) return false;
  snprintf(folder, kPathSize, "%s\\Marlowbrook\\qtra", local);
  g_state.mode = IDC_MODE_LOCAL_USER;
  return true;
}

LRESULT CLocationDlg::OnModeCommand(WPARAM wParam, LPARAM) {
  // Only a click picks a mode; focus moving through the group does not.
  if (HIWORD(wParam) == BN_CLICKED && !m_applying) OnModeClicked(LOWORD(wParam));
  return 0;
}

LRESULT CLocationDlg::OnExitCommand(WPARAM, LPARAM) {
  OnCancel();
  return 0;
}

// Enter means Next, whichever control has the focus.
void CLocationDlg::OnOK() {
  if (!m_applying) OnNext();
}

// Exit, Escape and Alt+F4 alike: the user stopped the installation.
void CLocationDlg::OnCancel() {
  if (m_applying) return;
  g_state.exitCode = kExitCancelled;
  EndDialog(IDCANCEL);
}

LRESULT CLocationDlg::OnNextCommand(WPARAM, LPARAM) {
  if (!m_applying) OnNext();
  return 0;
}

void CLocationDlg::EnableChoices(bool enable) {
  for (int id = IDC_MODE_SHORT_PATH; id <= IDC_MODE_UPGRADE; ++id) ::EnableWindow(GetDlgItem(id), enable);
  for (int id : {IDC_FOLDER, IDC_EXIT, IDC_NEXT}) ::EnableWindow(GetDlgItem(id), enable);
}

void CLocationDlg::OnModeClicked(int modeId) {
  char folder[kPathSize] = {};
  if (!RunModeChain(m_hWnd, modeId, folder)) {
    g_state.exitCode = kExitFolderNotCreatable;
    EndDialog(IDCANCEL);
    return;
  }
  ShowFolder(folder);
  ::CheckRadioButton(m_hWnd, IDC_MODE_SHORT_PATH, IDC_MODE_UPGRADE, g_state.mode);
  ::SetFocus(GetDlgItem(IDC_NEXT));
}

void CLocationDlg::ShowFolder(const char* folder) {
  HWND box = GetDlgItem(IDC_FOLDER);
  ::SetWindowTextA(box, folder);
  ::SendMessageA(box, EM_SETSEL, 260, 260);
  if (m_folderTip != nullptr) ::DestroyWindow(m_folderTip);
  m_folderTip = CreateTooltip(1500);
  if (m_folderTip == nullptr) return;
  TOOLINFOA tool = {};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = m_hWnd;
  tool.uId = reinterpret_cast<UINT_PTR>(box);
  tool.lpszText = const_cast<char*>(folder);
  ::SendMessageA(m_folderTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  ::SendMessageA(m_folderTip, TTM_ACTIVATE, TRUE, 0);
}

HWND CLocationDlg::CreateTooltip(int maxWidth) {
  HWND tip = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr,
                               ::GetModuleHandleA(nullptr), nullptr);
  if (tip == nullptr) return nullptr;
  ::SendMessageA(tip, TTM_SETDELAYTIME, TTDT_RESHOW, 100);
  ::SendMessageA(tip, TTM_SETDELAYTIME, TTDT_INITIAL, 100);
  ::SendMessageA(tip, TTM_SETDELAYTIME, TTDT_AUTOPOP, 30000);
  ::SendMessageA(tip, TTM_SETMAXTIPWIDTH, 0, maxWidth);
  return tip;
}

void CLocationDlg::CreateRadioTooltips() {
  m_radioTips = CreateTooltip(300);
  if (m_radioTips == nullptr) return;

  char userName[MAX_PATH + 1] = {};
  CurrentUserName(CP_ACP, userName, sizeof userName);
  char programFiles[kPathSize] = {};
  GetSpecialFolderByItemList(CSIDL_PROGRAM_FILES, programFiles);

  char texts[4][512];
  snprintf(texts[0], sizeof texts[0],
           "Because the path is short and global it is easier to maintain your data such as message files and email "
           "address list files. This is good if you only plan to run one instance of %s on this computer.",
           kProductName);
  snprintf(texts[1], sizeof texts[1], "%s will be available for this Username(%s) only.", kProductName, userName);
  snprintf(texts[2], sizeof texts[2], "%s will be installed here[%s%s%s%s%s]", kProductName, programFiles, "\\",
           "Marlowbrook", "\\", "qtra");
  snprintf(texts[3], sizeof texts[3], "%s", "Upgrade using the same paths as before.");
  const int ids[4] = {IDC_MODE_SHORT_PATH, IDC_MODE_LOCAL_USER, IDC_MODE_PROGRAM_FILES, IDC_MODE_UPGRADE};

  for (int i = 0; i < 4; ++i) {
    TOOLINFOA tool = {};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = m_hWnd;
    tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(ids[i]));
    tool.lpszText = texts[i];
    bool added = ::SendMessageA(m_radioTips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)) != 0;
    if (!added && i == 0) break;
  }
  ::SendMessageA(m_radioTips, TTM_ACTIVATE, TRUE, 0);
}

void CLocationDlg::OnNext() {
  char folder[kPathSize] = {};
  ::GetDlgItemTextA(m_hWnd, IDC_FOLDER, folder, sizeof folder);
  CopyStringBounded(g_state.targetFolder, folder, sizeof g_state.targetFolder);
  if (strlen(g_state.targetFolder) > kMaxTargetLength) {
    ::MessageBoxA(m_hWnd, "The Path you Specified is to long.", kInstallCaption, MB_ICONERROR);
    return;
  }
  // Taken resolved, so "." and ".." cannot hide a root.
  const char* reason = "";
  if (CInstallPlan::CheckFolder(m_hWnd, folder, g_state.targetFolder, &reason) != kExitSuccess) return;
  // The plan's steps up to the links, which follow once the page has closed.
  m_applying = true;
  EnableChoices(false);
  g_plan.Build(m_hWnd);
  const int written = g_plan.Apply(false);
  m_applying = false;
  // A folder that could not be made leaves the page open for another.
  if (written == kExitFolderNotCreatable) {
    EnableChoices(true);
    ::SetFocus(GetDlgItem(IDC_NEXT));
    return;
  }
  g_state.exitCode = written;
  EndDialog(written == kExitSuccess ? IDOK : IDCANCEL);
}

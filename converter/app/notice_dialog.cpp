#include "converter/app/notice_dialog.h"

#include "resource.h"

BEGIN_MESSAGE_TABLE(CNoticeDialog, CDialog)
  ON_COMMAND_ID(IDC_NOTICE_OK, OnNoticeOk)
END_MESSAGE_TABLE()

CNoticeDialog::CNoticeDialog() : CDialog(IDD_NOTICE) {}

BOOL CNoticeDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  ::SetWindowTextA(m_hWnd, m_caption);
  ::SetDlgItemTextA(m_hWnd, IDC_NOTICE_BODY, m_body);
  CenterWindow();
  ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE);
  SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(IDC_NOTICE_OK)), TRUE);
  return FALSE;
}

LRESULT CNoticeDialog::OnNoticeOk(WPARAM, LPARAM) {
  EndDialog(IDOK);
  return 0;
}

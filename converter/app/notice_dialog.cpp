#include "converter/app/notice_dialog.h"

#include "resource.h"

BEGIN_MESSAGE_TABLE(CNoticeDialog, CDialog)
  ON_MESSAGE(WM_CLOSE, OnDefault)
  ON_MESSAGE(WM_DESTROY, OnDefault)
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

BOOL CNoticeDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (LOWORD(wParam) == IDC_NOTICE_OK) EndDialog(IDOK);
  return CDialog::OnCommand(wParam, lParam);
}

#include "converter/app/main_dialog.h"

#include <cstdio>

#include "common/registry.h"
#include "resource.h"

BEGIN_MESSAGE_TABLE(CMainDialog, CDialog)
  ON_MESSAGE(WM_CLOSE, OnClose)
  ON_MESSAGE(WM_DESTROY, OnDestroy)
END_MESSAGE_TABLE()

CMainDialog::CMainDialog() : CDialog(IDD_MAIN) {}

void CMainDialog::DoDataExchange(CDataExchange* exchange) {
  CDialog::DoDataExchange(exchange);
  DDX_Control(exchange, IDC_PAGE_TABS, m_tabs);
}

BOOL CMainDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  // The installer finds a running converter through this value.
  WriteRegUnsigned("Handles", "TransHandle", HandleToULong(m_hWnd), ProductRegKey);
  CenterWindow();
  char title[64];
  snprintf(title, sizeof title, "%s - Version %s", "Quantara", "11.04.01");
  ::SetWindowTextA(m_hWnd, title);
  return FALSE;
}

void CMainDialog::OnCancel() {}

LRESULT CMainDialog::OnClose(WPARAM, LPARAM) {
  EndDialog(IDCANCEL);
  return 0;
}

LRESULT CMainDialog::OnDestroy(WPARAM, LPARAM) {
  LRESULT result = Default();
  WriteRegUnsigned("Handles", "TransHandle", 0, ProductRegKey);
  return result;
}

#include "converter/app/about_dialog.h"

#include <cstdio>

#include "common/product.h"
#include "converter/support/system_description.h"
#include "resource.h"

CAboutDialog::CAboutDialog() : CDialog(IDD_ABOUT) {}

BOOL CAboutDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  char text[256];
  snprintf(text, sizeof text, "About %s", kProductName);
  ::SetWindowTextA(m_hWnd, text);
  snprintf(text, sizeof text, "Version: %s - Windows Type: %lu.%lu.%lu\n%s", kProductVersion, SystemPlatformId,
           SystemMajorVersion, SystemMinorVersion, SystemDescription);
  ::SetDlgItemTextA(m_hWnd, IDC_ABOUT_VERSION, text);
  CenterWindow();
  return TRUE;
}

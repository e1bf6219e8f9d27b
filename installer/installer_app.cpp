#include "installer/installer_app.h"

#include "installer/backdrop_dlg.h"

CInstallerApp theApp;

BOOL CInstallerApp::InitInstance() {
  CBackdropDlg backdrop;
  m_pMainWnd = &backdrop;
  backdrop.DoModal();
  m_pMainWnd = nullptr;
  return FALSE;
}

#include "converter/app/converter_app.h"

#include "converter/app/main_dialog.h"

CConverterApp theApp;

BOOL CConverterApp::InitInstance() {
  CMainDialog mainDialog;
  m_pMainWnd = &mainDialog;
  mainDialog.DoModal();
  m_pMainWnd = nullptr;
  // The program ends when the main window has closed.
  return FALSE;
}

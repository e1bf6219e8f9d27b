#include "common/framework/dialog.h"

BEGIN_MESSAGE_TABLE(CDialog, CWnd)
  ON_COMMAND_ID(IDOK, OnOKCommand)
  ON_COMMAND_ID(IDCANCEL, OnCancelCommand)
END_MESSAGE_TABLE()

void DDX_Control(CDataExchange* exchange, int id, CWnd& control) {
  if (control.m_hWnd == nullptr) control.SubclassDlgItem(id, exchange->dialog);
}

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_parent(parent) {}

// Every message reaches the object through its subclassed window procedure, so
// the dialog procedure proper only asks the dialog manager for its defaults.
INT_PTR CALLBACK CDialog::DialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

INT_PTR CDialog::DoModal() {
  HWND parent = m_parent != nullptr ? m_parent->m_hWnd : nullptr;
  BeginCreationHook(this);
  INT_PTR result = ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_templateId), parent,
                                     &CDialog::DialogProc, 0);
  EndCreationHook();
  return result;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
  m_templateId = templateId;
  m_parent = parent;
  BeginCreationHook(this);
  HWND window = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId),
                                     parent != nullptr ? parent->m_hWnd : nullptr, &CDialog::DialogProc, 0);
  EndCreationHook();
  return window != nullptr;
}

void CDialog::EndDialog(INT_PTR result) { ::EndDialog(m_hWnd, result); }

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
  CDataExchange exchange = {this, saveAndValidate};
  DoDataExchange(&exchange);
  return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() { EndDialog(IDOK); }
void CDialog::OnCancel() { EndDialog(IDCANCEL); }

LRESULT CDialog::OnOKCommand(WPARAM, LPARAM) {
  OnOK();
  return 0;
}

LRESULT CDialog::OnCancelCommand(WPARAM, LPARAM) {
  OnCancel();
  return 0;
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // The dialog manager reads the result of WM_INITDIALOG to decide whether to set the focus.
  if (message == WM_INITDIALOG) return OnInitDialog();
  return CWnd::WindowProc(message, wParam, lParam);
}

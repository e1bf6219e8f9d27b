#include "common/framework/dialog.h"

BEGIN_MESSAGE_TABLE(CDialog, CWnd)
  ON_COMMAND_ID(IDOK, OnOKCommand)
  ON_COMMAND_ID(IDCANCEL, OnCancelCommand)
END_MESSAGE_TABLE()

void DDX_Control(CDataExchange* exchange, int id, CWnd& control) {
  if (control.m_hWnd == nullptr) control.SubclassDlgItem(id, exchange->dialog);
}

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_parent(parent) {}

// The object comes with WM_INITDIALOG, the first message a dialog procedure is
// meant to see; from then on the window is subclassed and every message reaches
// the object there, so the dialog procedure proper only asks the dialog manager
// for its defaults.
INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_INITDIALOG || FromHandle(window) != nullptr) return FALSE;
  CDialog* owner = reinterpret_cast<CDialog*>(lParam);
  if (owner == nullptr || owner->m_hWnd != nullptr) return FALSE;
  owner->Attach(window);
  return owner->WindowProc(message, wParam, lParam);
}

INT_PTR CDialog::DoModal() {
  HWND parent = m_parent != nullptr ? m_parent->m_hWnd : nullptr;
  return ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_templateId), parent, &CDialog::DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
  m_templateId = templateId;
  m_parent = parent;
  HWND window = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId),
                                     parent != nullptr ? parent->m_hWnd : nullptr, &CDialog::DialogProc,
                                     reinterpret_cast<LPARAM>(this));
  return window != nullptr;
}

void CDialog::EndDialog(INT_PTR result) { ::EndDialog(m_hWnd, result); }

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::OnInitDialog() {
  CDataExchange exchange = {this};
  DoDataExchange(&exchange);
  return TRUE;
}

LRESULT CDialog::PaintMinimised(HICON icon) {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(m_hWnd, &paint);
  SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client = {};
  ::GetClientRect(m_hWnd, &client);
  int x = (client.right - client.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
  int y = (client.bottom - client.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
  ::DrawIcon(dc, x, y, icon);
  ::EndPaint(m_hWnd, &paint);
  return 0;
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

// CDialog: a dialog from a numbered template, modal (DoModal) or modeless (Create).
#pragma once
#include "common/framework/wnd.h"

class CDialog;

// Passed to DoDataExchange, which binds the template's controls while the dialog initialises.
struct CDataExchange {
  CDialog* dialog;
};

// Binds a control of the template to a window object (subclassing it once).
void DDX_Control(CDataExchange* exchange, int id, CWnd& control);

class CDialog : public CWnd {
 public:
  explicit CDialog(UINT templateId, CWnd* parent = nullptr);

  INT_PTR DoModal();
  BOOL Create(UINT templateId, CWnd* parent = nullptr);
  void EndDialog(INT_PTR result);

  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();
  virtual void DoDataExchange(CDataExchange* exchange);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  DECLARE_MESSAGE_TABLE()

 protected:
  // Paints the window while it is minimised, as a top-level window's icon was
  // drawn before taskbars: the icon centred on the erased icon background.
  LRESULT PaintMinimised(HICON icon);

  UINT m_templateId;
  CWnd* m_parent;

 private:
  LRESULT OnOKCommand(WPARAM, LPARAM);
  LRESULT OnCancelCommand(WPARAM, LPARAM);
  static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
};

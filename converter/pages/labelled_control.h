// A control that a screen reader names after the control labelling it on
// screen. A page's unit boxes stand beside push buttons and its decimals list
// inside a group box, neither of which the system takes as a label, so each
// would otherwise be named after the page's title.
#pragma once
#include "common/framework/wnd.h"
#include "converter/engine/catalogue.h"

class CLabelledControl : public CWnd {
 public:
  // Names `control` after the text `label` shows, read at every request so a
  // changed caption is heard as shown. The object lives as long as the window.
  static bool Name(HWND control, HWND label);

  DECLARE_MESSAGE_TABLE()

 protected:
  void PostNcDestroy() override { delete this; }

 private:
  explicit CLabelledControl(HWND label) : m_label(label) {}
  LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);

  HWND m_label;
};

class CConversionPage;

// Names each unit box of `page` after its unit's button and the decimals
// list after its group box.
void LabelPageControls(const CConversionPage& page);

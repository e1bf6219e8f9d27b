// CTabPage: a modeless child dialog shown inside a tab control. Its own
// background and the backgrounds of its labels, check boxes and radio buttons
// are the tab control's body, so nothing shows as a band of another colour:
// the theme's tab texture where visual styles are on, the plain dialog colour
// where they are off.
#pragma once
#include "common/framework/dialog.h"

class CTabPage : public CDialog {
 public:
  explicit CTabPage(UINT templateId) : CDialog(templateId) {}
  ~CTabPage() override;

  BOOL OnInitDialog() override;

  DECLARE_MESSAGE_TABLE()

 private:
  LRESULT OnControlColour(WPARAM dc, LPARAM control);
  LRESULT OnLookChanged(WPARAM, LPARAM);
  void ForgetBodyBrush();

  // What the tab control paints under the page, as a brush aligned with the page.
  HBRUSH m_bodyBrush = nullptr;
};

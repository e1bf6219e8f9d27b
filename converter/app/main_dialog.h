// The converter's main window: a tab control holding the conversion pages.
#pragma once
#include "common/framework/dialog.h"
#include "common/framework/tab_ctrl.h"

class CMainDialog : public CDialog {
 public:
  CMainDialog();

  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* exchange) override;
  void OnCancel() override;

  DECLARE_MESSAGE_TABLE()

 private:
  LRESULT OnDestroy(WPARAM, LPARAM);
  LRESULT OnClose(WPARAM, LPARAM);

  CTabCtrl m_tabs;
};

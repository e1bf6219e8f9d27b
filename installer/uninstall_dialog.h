// The uninstall page: names the program folder; Finish confirms its removal.
#pragma once
#include "common/framework/dialog.h"

class CUninstallDlg : public CDialog {
 public:
  explicit CUninstallDlg(CWnd* parent = nullptr);

  BOOL OnInitDialog() override;

  DECLARE_MESSAGE_TABLE()

 private:
  void Answer(INT_PTR result);
  LRESULT OnCancelCommand(WPARAM wParam, LPARAM lParam);
  LRESULT OnFinishCommand(WPARAM wParam, LPARAM lParam);
  LRESULT OnCtlColor(WPARAM wParam, LPARAM lParam);

  bool m_answered = false;
};

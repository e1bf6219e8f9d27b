// The uninstall page: names the program folder and deletes it on Finish.
#pragma once
#include "common/framework/dialog.h"

class CUninstallDlg : public CDialog {
 public:
  explicit CUninstallDlg(CWnd* parent = nullptr);

  BOOL OnInitDialog() override;

  // After Finish: whether the program folder itself is gone.
  bool FolderRemoved() const { return m_folderRemoved; }

  DECLARE_MESSAGE_TABLE()

 private:
  LRESULT OnCancelCommand(WPARAM wParam, LPARAM lParam);
  LRESULT OnFinishCommand(WPARAM wParam, LPARAM lParam);
  LRESULT OnCtlColor(WPARAM wParam, LPARAM lParam);
  bool m_folderRemoved = false;
};

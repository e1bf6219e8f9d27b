// The installer's main window: a maximized backdrop behind its pages, which
// runs the install or uninstall sequence, or relays the uninstaller.
#pragma once
#include "common/framework/dialog.h"
#include "installer/location_dialog.h"
#include "installer/uninstall_dialog.h"

class CBackdropDlg : public CDialog {
 public:
  CBackdropDlg();

  BOOL OnInitDialog() override;
  // Alt+F4 does not end a sequence that is under way.
  void OnCancel() override;

  DECLARE_MESSAGE_TABLE()

 private:
  void RunUninstallRelay();
  void RunInstallSequence();
  void RunUninstallSequence();
  void ShowStage(const char* titleFormat, UINT startCommand);
  void StartConverter();

  LRESULT OnInstallStart(WPARAM wParam, LPARAM lParam);
  LRESULT OnUninstallStart(WPARAM wParam, LPARAM lParam);
  LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
  LRESULT OnSize(WPARAM wParam, LPARAM lParam);
  LRESULT OnQueryDragIcon(WPARAM wParam, LPARAM lParam);
  LRESULT OnCtlColor(WPARAM wParam, LPARAM lParam);

  HICON m_icon;
  bool m_running = false;  // a sequence is under way
  CLocationDlg m_locationPage;
  CUninstallDlg m_uninstallPage;
};

// The location page: proposes a folder from the installation modes, checks the
// folder on Next, then applies the plan's steps up to the links (the folder,
// the recorded folder and the files); the backdrop applies the rest.
#pragma once
#include "common/framework/dialog.h"

class CLocationDlg : public CDialog {
 public:
  explicit CLocationDlg(CWnd* parent = nullptr);

  BOOL OnInitDialog() override;

  // The folder proposed first into `folder` (kPathSize), g_state.mode set;
  // false when no folder can be proposed.
  static bool ChooseFirstProposal(char* folder);

  DECLARE_MESSAGE_TABLE()

 private:
  void OnOK() override;
  void OnCancel() override;
  void OnModeClicked(int modeId);
  void OnNext();
  // While the plan applies, the page pumps messages to repaint: every control
  // that could start or end something is off, so a second click does nothing.
  void EnableChoices(bool enable);
  void ShowFolder(const char* folder);
  void CreateRadioTooltips();
  HWND CreateTooltip(int maxWidth);
  LRESULT OnModeCommand(WPARAM wParam, LPARAM lParam);
  LRESULT OnExitCommand(WPARAM wParam, LPARAM lParam);
  LRESULT OnNextCommand(WPARAM wParam, LPARAM lParam);
  LRESULT OnCtlColor(WPARAM wParam, LPARAM lParam);
  LRESULT OnDestroy(WPARAM wParam, LPARAM lParam);

  bool m_applying = false;
  HWND m_radioTips = nullptr;
  HWND m_folderTip = nullptr;
};

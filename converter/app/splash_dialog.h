// The start-up picture: a topmost window without controls, shown while the
// converter starts and gone after 4.5 seconds at the latest.
#pragma once
#include "common/framework/dialog.h"

class CSplashDialog : public CDialog {
 public:
  CSplashDialog();
  ~CSplashDialog() override;

  void ShowSplash();
  // Safe to call any number of times.
  void HideSplash();

  BOOL OnInitDialog() override;

  DECLARE_MESSAGE_TABLE()

 private:
  LRESULT OnPaint(WPARAM, LPARAM);
  LRESULT OnTimer(WPARAM, LPARAM);

  int m_timerActive = 0;
  RECT m_area = {0, 0, 488, 352};
};

// The one start-up picture of the process.
extern CSplashDialog SplashWindow;

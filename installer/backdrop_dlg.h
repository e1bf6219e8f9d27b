// The installer's backdrop window, behind its pages.
#pragma once
#include "common/framework/dialog.h"

class CBackdropDlg : public CDialog {
 public:
  CBackdropDlg();
};

// The About box: version, Windows type and the one-line system description.
#pragma once
#include "common/framework/dialog.h"

class CAboutDialog : public CDialog {
 public:
  CAboutDialog();

  BOOL OnInitDialog() override;
};

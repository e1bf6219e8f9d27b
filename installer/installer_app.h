// The installer's application object.
#pragma once
#include "common/framework/win_app.h"

class CInstallerApp : public CWinApp {
 public:
  BOOL InitInstance() override;
};

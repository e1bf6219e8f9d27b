// The installer's application object: runs the backdrop, which runs one stage.
#pragma once
#include "common/framework/win_app.h"

class CInstallerApp : public CWinApp {
 public:
  BOOL InitInstance() override;
};

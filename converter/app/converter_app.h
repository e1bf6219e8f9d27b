// The converter's application object: runs the main window as a modal dialog.
#pragma once
#include "common/framework/win_app.h"

class CConverterApp : public CWinApp {
 public:
  BOOL InitInstance() override;
};

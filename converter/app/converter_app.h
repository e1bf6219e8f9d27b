// The converter's application object: shows the start-up picture and runs the
// main window as a modal dialog; the program ends when that dialog ends.
#pragma once
#include "common/framework/win_app.h"

class CConverterApp : public CWinApp {
 public:
  BOOL InitInstance() override;
};

// A dialog program built on the same layer as the converter, doing nothing else.
#include "common/framework/dialog.h"
#include "common/framework/win_app.h"

namespace {

class CMinimalApp : public CWinApp {
 public:
  BOOL InitInstance() override {
    CDialog dialog(100);
    dialog.DoModal();
    return FALSE;
  }
};

CMinimalApp theApp;

}  // namespace

#include "common/framework/win_app.h"

#include <commctrl.h>

namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp() { g_app = this; }
CWinApp::~CWinApp() {
  if (g_app == this) g_app = nullptr;
}

CWinApp* GetApp() { return g_app; }

int CWinApp::Run() {
  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  m_exitCode = static_cast<int>(message.wParam);
  return ExitInstance();
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  CWinApp* app = GetApp();
  if (app == nullptr) return 1;
  app->m_hInstance = instance;
  app->m_lpCmdLine = commandLine != nullptr ? commandLine : "";
  if (!app->InitInstance()) return app->ExitInstance();
  return app->Run();
}

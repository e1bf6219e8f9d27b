// The installer's form of the message-dispatching wait: no early returns.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/ui_helpers.h"

namespace {

int g_received = 0;
LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP + 2) {
    ++g_received;
    return 0;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

TEST(InstallerPump, DispatchesWhileWaitingTheFullTime) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = &CountingProc;
  windowClass.hInstance = ::GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "InstallerPumpTest";
  ::RegisterClassA(&windowClass);
  HWND window = ::CreateWindowA("InstallerPumpTest", "", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr,
                                windowClass.hInstance, nullptr);
  ASSERT_NE(nullptr, window);
  ::PostMessageA(window, WM_APP + 2, 0, 0);
  DWORD start = ::GetTickCount();
  PumpMessagesFor(400);
  EXPECT_GE(::GetTickCount() - start, 400u);
  EXPECT_EQ(1, g_received);
  ::DestroyWindow(window);
}

}  // namespace

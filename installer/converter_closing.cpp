#include "installer/converter_closing.h"

#include "common/registry.h"
#include "common/ui_helpers.h"
#include "installer/installer_state.h"

namespace {
const int kPolls = 11;
const unsigned long kPollMs = 500;

BOOL CALLBACK FindMarkedWindow(HWND window, LPARAM found) {
  if (!IsConverterMainWindow(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

HWND MarkedConverterWindow() {
  HWND window = nullptr;
  ::EnumWindows(&FindMarkedWindow, reinterpret_cast<LPARAM>(&window));
  return window;
}

// The converter holds its mutex from its first moment to its exit.
bool ConverterRuns() {
  HANDLE mutex = ::OpenMutexA(SYNCHRONIZE, FALSE, kConverterMutexName);
  if (mutex == nullptr) return false;
  ::CloseHandle(mutex);
  return true;
}

HWND PublishedWindow() {
  g_state.converterWindow = ReadRegUnsigned(kHandlesKey, kTransHandleValue, g_state.converterWindow, ProductRegKey);
  HWND window = static_cast<HWND>(ULongToHandle(g_state.converterWindow));
  return g_state.converterWindow != 0 && IsConverterMainWindow(window) ? window : nullptr;
}
}  // namespace

bool IsConverterMainWindow(HWND window) {
  if (window == nullptr || !::IsWindow(window)) return false;
  if (::GetAncestor(window, GA_ROOT) != window) return false;
  return ::GetPropA(window, kConverterWindowMark) != nullptr;
}

bool CloseRunningConverter(HWND owner) {
  HWND converter = PublishedWindow();
  if (converter == nullptr) converter = MarkedConverterWindow();
  // Still starting: its window is marked at once, so wait for that.
  for (int poll = 0; converter == nullptr && poll < kPolls && ConverterRuns(); ++poll) {
    PumpMessagesFor(kPollMs);
    converter = MarkedConverterWindow();
  }
  if (converter == nullptr) return true;
  ::PostMessageA(converter, WM_COMMAND, ID_REMOTE_CLOSE, 0);
  ShowMessage(owner, kProductName, MB_OK, "Closing [%s] as it can not be running while doing this operation...",
              kProductName);
  // Done once its window is gone and the process has let go of its mutex.
  for (int poll = 0; poll < kPolls; ++poll) {
    PumpMessagesFor(kPollMs);
    g_state.converterWindow = ReadRegUnsigned(kHandlesKey, kTransHandleValue, g_state.converterWindow, ProductRegKey);
    if (!IsConverterMainWindow(converter) && !ConverterRuns()) break;
  }
  return !IsConverterMainWindow(converter);
}

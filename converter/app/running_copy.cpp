#include "converter/app/running_copy.h"

#include "common/product.h"

namespace {
const char kBringForwardName[] = "Marlowbrook.Quantara.BringForward";
// How long a second start waits for the running copy's window to answer: that
// copy may still be starting (its first-run notice open) or just ending.
const DWORD kAnswerWaitMs = 15000;
const UINT kSendTimeoutMs = 5000;

// Held for the whole run by the copy that owns it; the system frees it at exit.
HANDLE g_running = nullptr;

BOOL CALLBACK FindMarkedWindow(HWND window, LPARAM found) {
  if (::GetPropA(window, kConverterWindowMark) == nullptr) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}
}  // namespace

UINT BringForwardMessage() {
  static const UINT message = ::RegisterWindowMessageA(kBringForwardName);
  return message;
}

void MarkRunningCopyWindow(HWND window) { ::SetPropA(window, kConverterWindowMark, reinterpret_cast<HANDLE>(1)); }
void UnmarkRunningCopyWindow(HWND window) { ::RemovePropA(window, kConverterWindowMark); }

bool BringRunningCopyForward() {
  g_running = ::CreateMutexA(nullptr, TRUE, kConverterMutexName);
  // Without the mutex nothing can be decided; starting is the useful choice.
  if (g_running == nullptr || ::GetLastError() != ERROR_ALREADY_EXISTS) return false;
  const DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < kAnswerWaitMs) {
    // The other copy ended meanwhile (the installer closed it): this one runs.
    const DWORD wait = ::WaitForSingleObject(g_running, 100);
    if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) return false;
    HWND window = nullptr;
    ::EnumWindows(&FindMarkedWindow, reinterpret_cast<LPARAM>(&window));
    if (window == nullptr) continue;
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    // This start came from the user, so it may hand the foreground on.
    ::AllowSetForegroundWindow(processId);
    DWORD_PTR answer = 0;
    if (::SendMessageTimeoutA(window, BringForwardMessage(), 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &answer) != 0 &&
        answer == 1)
      return true;
  }
  // A copy runs but never answered: a second one would only compete with it.
  return true;
}

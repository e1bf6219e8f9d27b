#include "installer/converter_closing.h"

#include <cstring>

#include "common/registry.h"
#include "common/ui_helpers.h"
#include "installer/installer_state.h"

bool IsConverterMainWindow(HWND window) {
  if (window == nullptr || !::IsWindow(window)) return false;
  if (::GetAncestor(window, GA_ROOT) != window) return false;
  char title[64] = {};
  ::GetWindowTextA(window, title, sizeof title);
  return strncmp(title, kMainTitlePrefix, sizeof kMainTitlePrefix - 1) == 0;
}

bool CloseRunningConverter(HWND owner) {
  g_state.converterWindow = ReadRegUnsigned(kHandlesKey, kTransHandleValue, g_state.converterWindow, ProductRegKey);
  if (g_state.converterWindow == 0) return true;
  HWND converter = static_cast<HWND>(ULongToHandle(g_state.converterWindow));
  if (!IsConverterMainWindow(converter)) return true;
  ::PostMessageA(converter, WM_COMMAND, ID_REMOTE_CLOSE, 0);
  ShowMessage(owner, kProductName, MB_OK, "Closing [%s] as it can not be running while doing this operation...",
              kProductName);
  for (int poll = 0; poll < 11; ++poll) {
    PumpMessagesFor(500);
    g_state.converterWindow = ReadRegUnsigned(kHandlesKey, kTransHandleValue, g_state.converterWindow, ProductRegKey);
    if (g_state.converterWindow == 0) break;
  }
  return !IsConverterMainWindow(converter);
}

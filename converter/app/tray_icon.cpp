#include "converter/app/tray_icon.h"

#include <cstring>

#include "common/strings.h"
#include "converter/app/app_state.h"

namespace {
const char kTrayTip[] = "Quantara\nLeft-click use\nRight-click exit";
const UINT kTrayIconId = 1;
// The record as the shells of the program's time know it (no balloon GUID).
const DWORD kTrayRecordSize = NOTIFYICONDATAA_V2_SIZE;
}  // namespace

#if defined(_WIN32) && !defined(_WIN64)
static_assert(NOTIFYICONDATAA_V2_SIZE == 488, "the 32-bit tray record is 488 bytes");
#endif

void FillTrayIconData(HWND window) {
  memset(&TrayIconData, 0, sizeof TrayIconData);
  TrayIconData.cbSize = kTrayRecordSize;
  TrayIconData.hWnd = window;
  TrayIconData.uID = kTrayIconId;
  TrayIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  TrayIconData.uCallbackMessage = TrayCallbackMessage;
  TrayIconData.hIcon = TrayIconHandle;
  CopyStringBounded(TrayIconData.szTip, kTrayTip, sizeof TrayIconData.szTip);
}

void AddTrayIcon(HWND window) {
  FillTrayIconData(window);
  ::Shell_NotifyIconA(NIM_ADD, &TrayIconData);
}

void DeleteTrayIcon(HWND window) {
  FillTrayIconData(window);
  ::Shell_NotifyIconA(NIM_DELETE, &TrayIconData);
}

// The tray icon record and its two operations.
#pragma once
#include <windows.h>

// The message the tray icon sends to the main window.
const UINT TrayCallbackMessage = WM_APP + 100;

// Rebuilds TrayIconData for `window` from scratch.
void FillTrayIconData(HWND window);
// Rebuild, then NIM_ADD / NIM_DELETE; the shell's answer is ignored.
void AddTrayIcon(HWND window);
void DeleteTrayIcon(HWND window);

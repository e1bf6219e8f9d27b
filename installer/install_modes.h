// The six installation modes. Each Try operation fills `folder` (kPathSize)
// and sets g_state.mode when its folder is usable (result 1); otherwise it sets
// the mode it falls back to and, with showMessage, says why (result 0).
#pragma once
#include <windows.h>

int TryShortPath(HWND owner, char* folder, int showMessage);
int TryLocalUser(HWND owner, char* folder, int showMessage);
int TryProgramFiles(HWND owner, char* folder, int showMessage);
int TryRoamingUser(HWND owner, char* folder, int showMessage);
int TryMultiUser(HWND owner, char* folder, int showMessage);
int TryUpgrade(HWND owner, char* folder, int showMessage);

// Runs the chain of Try operations of the clicked radio button `modeId`
// (1001 to 1006) until one succeeds. 1 with `folder` and g_state.mode set; 0
// when even the last fallback failed (mode 0).
int RunModeChain(HWND owner, int modeId, char* folder);

// The folder of an earlier installation: "ThisProgramDir" (read into
// `readSize` bytes) when it holds the converter, else the default upgrade
// folder when it exists. True with `folder` and the upgrade mode set.
bool FindUpgradeFolder(char* folder, size_t readSize);

// True when {folder}\QTRA.EXE exists.
bool HoldsConverter(const char* folder);

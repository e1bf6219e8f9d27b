#include "converter/app/app_state.h"

char CommandLineCopy[1024] = "";
int LastTab = 0;
int UseSystemTray = 1;
int HideInTrayOnStartup = 0;
int MinimizeShowCommand = SW_SHOW;
int AppInitializing = 1;
int PageEraseAllowance = 2;
int AppExiting = 0;
int AboutBoxOpen = 0;
// Registered once, before any window: the main window's message table names it.
UINT TaskbarCreatedMessage = ::RegisterWindowMessageA("TaskbarCreated");
NOTIFYICONDATAA TrayIconData = {};
char ProgramDir[261] = "";
HICON TrayIconHandle = nullptr;

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
UINT TaskbarCreatedMessage = 0xFFFFFFFFu;
NOTIFYICONDATAA TrayIconData = {};
char ProgramDir[261] = "";
HWND MainWindowHandle = nullptr;
HICON TrayIconHandle = nullptr;

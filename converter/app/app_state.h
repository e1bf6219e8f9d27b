// Program-wide state of the converter: plain globals, used only by the
// user-interface thread. TimeChangeBreaks and AppClosing live with the common
// helpers (common/ui_helpers.h).
#pragma once
#include <windows.h>
#include <shellapi.h>

extern char CommandLineCopy[1024];
extern int LastTab;               // index of the shown page, 0 to 6
extern int UseSystemTray;         // 1: the window lives in the notification area
extern int HideInTrayOnStartup;
extern int MinimizeShowCommand;   // what minimising does: SW_HIDE in tray mode, else SW_MINIMIZE
extern int AppInitializing;       // 1 until the main window's initialisation ends
extern int PageEraseAllowance;    // background erasures the pages may still perform
extern int AppExiting;            // 1: a cancel on the main window or a page ends that dialog
extern int AboutBoxOpen;
extern UINT TaskbarCreatedMessage;  // what the shell sends when it restarts
extern NOTIFYICONDATAA TrayIconData;
extern char ProgramDir[261];      // the program folder, without a trailing separator
extern HICON TrayIconHandle;      // icon 129 at small-icon size

// The steps of an uninstall that the pages and the silent run share.
#pragma once
#include <windows.h>

// Reads the recorded program folder into g_state.programDir. True only for a
// folder that holds the converter and may be a program folder at all.
bool FindRecordedInstallation();

// After the folder's deletion: removes what the outcome allows from the
// registry, says how it went, and gives the exit code.
int ReportUninstall(HWND owner, bool folderRemoved);

// Copies the installed uninstaller out of the program folder, into `copy`
// inside `temporary` (both kPathSize). False, having said why, when it cannot.
bool CopyUninstallerOut(HWND owner, char* copy, char* temporary);

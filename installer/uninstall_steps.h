// The steps of an uninstall that the pages and the silent run share.
#pragma once
#include <windows.h>

// The installation both records name: "ThisProgramDir" and the uninstall
// entry's "InstallLocation" agree, and the folder holds the converter or the
// uninstaller. Into `folder` (kPathSize, no trailing backslash); false when
// there is none. A drive root or a share is never one.
bool FindRecordedFolder(char* folder);

// Reads the recorded program folder into g_state.programDir. True only for a
// folder that the uninstall entry names too, that holds the converter and may
// be a program folder at all; with `own` (not empty), only when it is that
// folder (g_state.programDir then names `own` for the messages when not).
bool FindRecordedInstallation(const char* own);

// After the folder's deletion: removes the entry when the outcome allows, or
// writes it again when the uninstaller has to stay, says how it went, and gives
// the exit code; `removeSettings` receives whether the settings go (last, by
// the caller). `goingLater` names a file of ours that is deleted once the run
// ends (the waiting relay's), or is null.
int ReportUninstall(HWND owner, bool folderRemoved, const char* goingLater, bool* removeSettings);

// Once `folder` is gone: the empty levels up to `made` (may be empty) that the
// installation made, and the maker's folder of the default Local-user folder.
void RemoveUninstalledLevels(const char* folder, const char* made);

// The name the waiting relay's file is moved to, beside the uninstaller's copy.
constexpr const char kParkedRelayFileName[] = "qtrasx.old";

// Whether the two files, read from where they stand, hold the same bytes.
bool SameFileBytes(HANDLE first, HANDLE second);

// The uninstaller's copy and the parked relay that an uninstall left in the
// copy's folder, and the folder once empty: at every start, and in the relay
// once its copy has ended. A file in use (this very program, or an uninstall
// under way) stays.
void RemoveUninstallerLeftovers();

// The uninstall of the installation in g_state.programDir, the same for the
// pages and the silent run: records it, deletes our files, the links, the
// entry and, last, the uninstaller, then the folder, the empty levels the
// installation made and the settings.
// Says how it went; the exit code.
int UninstallProgram(HWND owner);

// Copies the installed uninstaller out of the program folder, into `copy`
// inside `temporary` (both kPathSize); `programDir` (kPathSize) receives the
// folder whose installation the copy is to remove: the running uninstaller's
// own when it is the installed one, else the recorded one. The copy is
// compared with the installed one byte for byte and then held unchangeable
// until this process ends, so what is started is what was compared. False,
// having said why, when it cannot.
bool CopyUninstallerOut(HWND owner, char* copy, char* temporary, char* programDir);

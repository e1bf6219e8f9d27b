// Folders by the names the installer's ANSI functions can use. Before Windows
// 10 version 1903 the code page for non-Unicode programs may lack letters of a
// folder's name (a Russian user name on a Western European Windows): such a
// folder is reached through its short (8.3) name, or reported once.
#pragma once
#include <windows.h>

// The folder `path` (wide, as the system gives it) into `out` (kPathSize), in
// a form the installer can use. False when none
// fits or names it; the first folder of a run that cannot be named is reported
// (in the log of a silent run, which then ends with kExitFolderNotNameable).
bool UsableFolderName(HWND owner, const wchar_t* path, char* out);

// True once a folder of this run could not be named.
bool FolderNameFailed();

// The running installer's own path (kPathSize), as UsableFolderName gives it.
bool OwnProgramPath(HWND owner, char* out);

// The "/D=" folder of the command line, taken from its wide form so that no
// letter is lost on the way, into `out` (kPathSize). `typed` is what the ANSI
// command line holds. False, having reported it, when it cannot be named.
bool RequestedFolderName(const char* typed, char* out);

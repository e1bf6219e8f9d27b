// Shell links on the desktop and in the Start menu's "Quantara" group.
#pragma once
#include <windows.h>

// The shell folder `folderId` (CSIDL) into `path` (kPathSize). 1 when found and existing.
int ResolveShortcutFolder(HWND owner, int folderId, char* path);

// Makes the link `name`.lnk (in the group when folderId is CSIDL_PROGRAMS); an
// empty text leaves that property unset. With isFolder only the group folder
// {folder}\{name} is made. 1 when the link file is in place.
int CreateShellShortcut(HWND owner, int folderId, const char* target, const char* arguments, const char* name,
                        const char* workingDir, const char* iconFile, int isFolder);

// Deletes the link `name`.lnk, or with isFolder the group folder {folder}\{name}
// and the files in it. 1 when removed.
int RemoveShellShortcut(HWND owner, int folderId, const char* name, int isFolder);

// The links and groups of any earlier installation, from every place we ever put them.
void RemoveAllShortcuts(HWND owner, bool installing);
// The desktop link and the group with its five links for the program in
// `programDir`. Restores the saved cursor after the desktop link. Returns the
// result of the last link ("UnInstall").
int CreateAllShortcuts(HWND owner, const char* programDir);

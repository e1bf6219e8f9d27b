// Folder operations of the installer: shell folders, making a path level by
// level, and deleting a folder with everything in it.
#pragma once
#include <windows.h>

// A shell folder by CSIDL number into `path` (kPathSize), without trailing
// backslash. 1 found, 0 not found.
int GetSpecialFolder(HWND owner, int folderId, char* path);
// The same through the shell's item list only (no path lookup first).
int GetSpecialFolderByItemList(int folderId, char* path);

// Makes every level of `path`. 1 when all exist afterwards (a path longer than
// 234 characters has its last level left unmade), 0 with a message when not.
// The working directory is left as it was.
int CreateFolderPath(HWND owner, const char* path, int showMessages);

// Deletes `path` and everything below it, except folders whose names begin with
// a dot. Nonzero when the folder itself was removed.
int DeleteFolderTree(const char* path);

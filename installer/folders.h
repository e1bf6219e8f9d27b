// Folder operations of the installer: shell folders, making a path level by
// level, and deleting a folder with everything in it.
#pragma once
#include <windows.h>

#include <functional>

#include "common/paths.h"

// A shell folder by CSIDL number into `path` (kPathSize), without trailing
// backslash. 1 found, 0 not found.
int GetSpecialFolder(HWND owner, int folderId, char* path);
// The same through the shell's item list only (no path lookup first).
int GetSpecialFolderByItemList(int folderId, char* path);

// Makes every level of `path`. 1 when all exist afterwards (a path longer than
// 234 characters has its last level left unmade), 0 with a message when not.
// The working directory is left as it was.
int CreateFolderPath(HWND owner, const char* path, int showMessages);

// Deletes our own files from the program folder `path` (IsOurProgramFile),
// then the folder itself once nothing else is left in it. Anything else stays,
// sub-folders included; a file that will not go is left and the others still
// go. Explorer's own files go too once nothing else is left. Nonzero when the
// folder was removed. A folder that `CheckProgramFolder` refuses is left
// alone, except that the `recorded` installation of an earlier version in a
// folder now refused loses our files (and keeps the folder); a link is
// removed itself, never followed. A file named `keep` is left for later, and
// the folder with it.
int RemoveProgramFiles(const char* path, bool recorded = false, const char* keep = nullptr);

// Deletes a file of ours at `path`, read-only or not. With `patience`, a file
// that another program holds for a moment (the shell reading a new link's
// icon from it) is tried again for up to two seconds.
void DeleteOurFile(const char* path, bool patience = false);

// Calls `visit` with each entry directly in `folder` but "." and "..", until it
// returns false. False when the folder cannot be listed.
bool ForEachFolderEntry(const char* folder, const std::function<bool(const WIN32_FIND_DATAA&)>& visit);

// The names directly in `folder`, one a line, into `out` (size bytes); a list
// that does not fit ends with "...". The number of entries; 0 when none or
// when the folder cannot be read.
int ListFolderEntries(const char* folder, char* out, size_t size);

// Whether `path` may be a program folder: a full local path that, by each of
// its names (NameFolder), is no drive root, no folder the system or the user
// keeps (Windows and what lies inside it, both Program Files folders, the
// profile and its known folders, the public folders) and holds none of them.
// `full` (kPathSize, when given) receives the name it is installed and
// recorded by: its long name (RecordedName).
FolderVerdict CheckProgramFolder(const char* path, char* full);

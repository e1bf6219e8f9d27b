// Shell links on the desktop and in the Start menu's "Quantara" group.
#pragma once
#include <windows.h>

#include <functional>

// The shell folder `folderId` (CSIDL) into `path` (kPathSize). 1 when found and existing.
int ResolveShortcutFolder(HWND owner, int folderId, char* path);

// Where the link `name`.lnk goes (in the group when folderId is CSIDL_PROGRAMS),
// or with isFolder the group folder {folder}\{name}, into `path` (kPathSize + 8).
// 0 when the shell folder is not found or the path does not fit.
int ShortcutLinkPath(HWND owner, int folderId, const char* name, int isFolder, char* path);

// Makes the link `name`.lnk at its ShortcutLinkPath, replacing a link already
// there only once the new one is complete; an empty text leaves that property
// unset. With isFolder only the group folder is made. 1 when the link file is in place.
int CreateShellShortcut(HWND owner, int folderId, const char* target, const char* arguments, const char* name,
                        const char* workingDir, const char* iconFile, int isFolder);

// Deletes the link `name`.lnk, or with isFolder the link files (*.lnk) in the
// group folder {folder}\{name} and then the folder when nothing else is left in
// it. 1 when the link or the folder was removed.
int RemoveShellShortcut(HWND owner, int folderId, const char* name, int isFolder);

// The links and groups of any earlier installation, from every place we ever put them.
void RemoveAllShortcuts(HWND owner);
// Told the path of each link (and of the group folder) before it is made.
typedef std::function<void(const char* path, bool isFolder)> ShortcutWatcher;

// The desktop link, the group folder and its five links, in this order.
extern const size_t kShortcutCount;
// Makes link `index` (below kShortcutCount) for the program in `programDir`,
// replacing the link of an earlier installation; the desktop link restores the
// saved cursor. 1 when it is in place.
int CreateShortcutAt(HWND owner, size_t index, const char* programDir, const ShortcutWatcher& beforeEach);
// All of them; 1 when every link is in place.
int CreateAllShortcuts(HWND owner, const char* programDir);

// After the new links are in place: the links and the group an earlier
// installation may have left elsewhere (the Startup folders, all users' group).
void RemoveOtherShortcuts(HWND owner);

#include "installer/shortcuts.h"

#include <objbase.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "common/file_safety.h"
#include "common/strings.h"
#include "common/ui_helpers.h"
#include "installer/folders.h"
#include "installer/installer_state.h"

namespace {

const char kGroupName[] = "Quantara";

// snprintf's result: the whole text went into a buffer of `size` bytes.
bool Fits(int length, size_t size) { return length >= 0 && static_cast<size_t>(length) < size; }

bool InitialiseOle() {
  static bool initialised = false;
  if (!initialised) initialised = SUCCEEDED(::OleInitialize(nullptr));
  return initialised;
}

void WindowsFolderFallback(char* path) {
  char windows[kPathSize] = {};
  ::GetWindowsDirectoryA(windows, sizeof windows);
  TrimTrailingBackslashes(windows);
  snprintf(path, kPathSize, "%s\\Start Menu\\Programs", windows);
}

// Where the shell's folder functions fail, the folders Explorer recorded.
void ReadShellFoldersKey(int folderId, char* path) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0,
                      KEY_READ, &key) != ERROR_SUCCESS) {
    WindowsFolderFallback(path);
    return;
  }
  const char* name = folderId == CSIDL_DESKTOP ? "Desktop" : folderId == CSIDL_PROGRAMS ? "Programs" : "";
  char data[kPathSize] = {};
  DWORD size = MAX_PATH;
  if (::RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS) {
    char common[64];
    snprintf(common, sizeof common, "Common %s", name);
    size = MAX_PATH;
    memset(data, 0, sizeof data);
    if (::RegQueryValueExA(key, common, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS) {
      WindowsFolderFallback(data);
    }
  }
  ::RegCloseKey(key);
  CopyStringBounded(path, data, kPathSize);
}

}  // namespace

int ResolveShortcutFolder(HWND owner, int folderId, char* path) {
  if (!GetSpecialFolder(owner, folderId, path)) ReadShellFoldersKey(folderId, path);
  TrimTrailingBackslashes(path);
  return PathExists(path) ? 1 : 0;
}

int CreateShellShortcut(HWND owner, int folderId, const char* target, const char* arguments, const char* name,
                        const char* workingDir, const char* iconFile, int isFolder) {
  char folder[kPathSize];
  if (!InitialiseOle() || !ResolveShortcutFolder(owner, folderId, folder)) return 0;
  char linkPath[kPathSize + 8];
  if (isFolder) {
    if (!Fits(snprintf(linkPath, sizeof linkPath, "%s\\%s", folder, name), sizeof linkPath)) return 0;
    return ::CreateDirectoryA(linkPath, nullptr) ? 1 : 0;
  }
  int length = folderId == CSIDL_PROGRAMS ? snprintf(linkPath, sizeof linkPath, "%s\\%s\\%s", folder, kGroupName, name)
                                          : snprintf(linkPath, sizeof linkPath, "%s\\%s", folder, name);
  // ".lnk" is added below and must fit too.
  if (!Fits(length + 4, sizeof linkPath)) return 0;

  IShellLinkA* link = nullptr;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link)))) {
    return 0;
  }
  if (target[0] != '\0') link->SetPath(target);
  if (arguments[0] != '\0') link->SetArguments(arguments);
  if (workingDir[0] != '\0') link->SetWorkingDirectory(workingDir);
  if (iconFile[0] != '\0') link->SetIconLocation(iconFile, 0);

  // The link is saved under a temporary name in the program folder first, then
  // moved into place, so a half-written link never appears in the shell folder.
  char temporary[kPathSize];
  bool saved = false;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    char lower[kPathSize + 8];
    CopyStringBounded(lower, linkPath, sizeof lower);
    if (FindNoCase(lower, ".lnk") == nullptr) {
      size_t length = strlen(linkPath);
      snprintf(linkPath + length, sizeof linkPath - length, "%s", ".lnk");
    }
    WCHAR wide[kPathSize] = {};
    if (JoinPath(temporary, g_state.targetFolder, "tmp") && ClearLinkForWriting(temporary, g_state.targetFolder) &&
        ::MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, temporary, -1, wide, MAX_PATH) > 0) {
      saved = SUCCEEDED(file->Save(wide, TRUE));
    }
    file->Release();
  }
  link->Release();
  if (!saved) return 0;
  return ::MoveFileA(temporary, linkPath) ? 1 : 0;
}

int RemoveShellShortcut(HWND owner, int folderId, const char* name, int isFolder) {
  char folder[kPathSize];
  if (!InitialiseOle() || !ResolveShortcutFolder(owner, folderId, folder)) return 0;
  char path[kPathSize + 8];
  if (isFolder) {
    if (!Fits(snprintf(path, sizeof path, "%s\\%s", folder, name), sizeof path)) return 0;
    // Every entry of the group goes, but a group that is a link is removed
    // itself: what it points to is not ours.
    DWORD attributes = ::GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && LeadsOutside(path, folder)) {
      return DeleteEntryItself(path, attributes, "") ? 1 : 0;
    }
    char groupFinal[2 * kPathSize];
    if (!FinalPathOf(path, groupFinal, sizeof groupFinal)) groupFinal[0] = '\0';
    ForEachFolderEntry(path, [&](const WIN32_FIND_DATAA& entry) {
      char child[2 * kPathSize];
      if (!Fits(snprintf(child, sizeof child, "%s\\%s", path, entry.cFileName), sizeof child)) return true;
      // A link in the group is deleted itself, never followed.
      // Sub-folders are not entries of the group's rule: only a link to one goes.
      const DWORD attributes = entry.dwFileAttributes;
      if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return true;
      DeleteEntryItself(child, attributes, groupFinal);
      return true;
    });
    return ::RemoveDirectoryA(path) ? 1 : 0;
  }
  int length = folderId == CSIDL_PROGRAMS ? snprintf(path, sizeof path, "%s\\%s\\%s.lnk", folder, kGroupName, name)
                                          : snprintf(path, sizeof path, "%s\\%s.lnk", folder, name);
  if (!Fits(length, sizeof path)) return 0;
  const DWORD attributes = ::GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return 0;
  char folderFinal[2 * kPathSize];
  if (!FinalPathOf(folder, folderFinal, sizeof folderFinal)) folderFinal[0] = '\0';
  return DeleteEntryItself(path, attributes, folderFinal) ? 1 : 0;
}

void RemoveAllShortcuts(HWND owner, bool installing) {
  RemoveShellShortcut(owner, CSIDL_STARTUP, kGroupName, 0);
  PumpMessagesFor(64);
  RemoveShellShortcut(owner, CSIDL_COMMON_STARTUP, kGroupName, 0);
  PumpMessagesFor(64);
  RemoveShellShortcut(owner, CSIDL_DESKTOP, kGroupName, 0);
  PumpMessagesFor(64);
  RemoveShellShortcut(owner, CSIDL_COMMON_PROGRAMS, kGroupName, 1);
  PumpMessagesFor(64);
  RemoveShellShortcut(owner, CSIDL_PROGRAMS, kGroupName, 1);
  PumpMessagesFor(installing ? 500 : 64);
}

int CreateAllShortcuts(HWND owner, const char* programDir) {
  char program[kPathSize];
  char manual[kPathSize];
  char manualIcon[kPathSize];
  char readMe[kPathSize];
  char readMeIcon[kPathSize];
  char help[kPathSize];
  char uninstaller[kPathSize];
  char uninstallIcon[kPathSize];
  JoinPath(program, programDir, kConverterFileName);
  JoinPath(manual, programDir, "MANUAL.TXT");
  JoinPath(manualIcon, programDir, "MANUAL.ICO");
  JoinPath(readMe, programDir, "README.TXT");
  JoinPath(readMeIcon, programDir, "README.ICO");
  JoinPath(help, programDir, "qtrahelp.htm");
  JoinPath(uninstaller, programDir, kInstallerFileName);
  JoinPath(uninstallIcon, programDir, "UNINSTL.ICO");

  CreateShellShortcut(owner, CSIDL_DESKTOP, program, "", kGroupName, programDir, program, 0);
  PumpMessagesFor(64);
  EndWaitCursor();
  PumpMessagesFor(64);
  CreateShellShortcut(owner, CSIDL_PROGRAMS, "", "", kGroupName, "", "", 1);
  PumpMessagesFor(64);
  CreateShellShortcut(owner, CSIDL_PROGRAMS, program, "", kGroupName, programDir, program, 0);
  PumpMessagesFor(64);
  CreateShellShortcut(owner, CSIDL_PROGRAMS, manual, "", "Manual", programDir, manualIcon, 0);
  PumpMessagesFor(64);
  CreateShellShortcut(owner, CSIDL_PROGRAMS, readMe, "", "Read Me", programDir, readMeIcon, 0);
  PumpMessagesFor(64);
  CreateShellShortcut(owner, CSIDL_PROGRAMS, help, "", "Help", programDir, help, 0);
  PumpMessagesFor(64);
  return CreateShellShortcut(owner, CSIDL_PROGRAMS, uninstaller, kUninstallArgument, "UnInstall", programDir,
                             uninstallIcon, 0);
}

#include "installer/shortcuts.h"

#include <objbase.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "common/file_safety.h"
#include "common/install_rules.h"
#include "common/strings.h"
#include "common/ui_helpers.h"
#include "installer/folders.h"
#include "installer/installer_state.h"

namespace {

const char kGroupName[] = "Quantara";
const size_t kLinkPathSize = kPathSize + 8;

// snprintf's result: the whole text went into a buffer of `size` bytes.
bool Fits(int length, size_t size) { return length >= 0 && static_cast<size_t>(length) < size; }

// A shell link's file name: "*.lnk", in any case.
bool IsLinkFileName(const char* name) {
  const size_t length = strlen(name);
  return length > 4 && _stricmp(name + length - 4, ".lnk") == 0;
}

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

int ShortcutLinkPath(HWND owner, int folderId, const char* name, int isFolder, char* path) {
  char folder[kPathSize];
  if (!ResolveShortcutFolder(owner, folderId, folder)) return 0;
  int length = isFolder || folderId != CSIDL_PROGRAMS
                   ? snprintf(path, kLinkPathSize, "%s\\%s", folder, name)
                   : snprintf(path, kLinkPathSize, "%s\\%s\\%s", folder, kGroupName, name);
  if (isFolder) return Fits(length, kLinkPathSize) ? 1 : 0;
  // ".lnk" is added unless the name has it already.
  char lower[kLinkPathSize];
  CopyStringBounded(lower, path, sizeof lower);
  if (FindNoCase(lower, ".lnk") != nullptr) return Fits(length, kLinkPathSize) ? 1 : 0;
  return Fits(snprintf(path, kLinkPathSize, "%s.lnk", lower), kLinkPathSize) ? 1 : 0;
}

int CreateShellShortcut(HWND owner, int folderId, const char* target, const char* arguments, const char* name,
                        const char* workingDir, const char* iconFile, int isFolder) {
  char linkPath[kLinkPathSize];
  if (!InitialiseOle() || !ShortcutLinkPath(owner, folderId, name, isFolder, linkPath)) return 0;
  if (isFolder) return ::CreateDirectoryA(linkPath, nullptr) ? 1 : 0;

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
  // moved into place over the old one, so a half-written link never appears in
  // the shell folder and the old link stays until the new one is complete.
  char temporary[kPathSize];
  bool saved = false;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    WCHAR wide[kPathSize] = {};
    if (JoinPath(temporary, g_state.targetFolder, kShortcutTempFileName) &&
        ClearLinkForWriting(temporary, g_state.targetFolder) &&
        ::MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, temporary, -1, wide, MAX_PATH) > 0) {
      saved = SUCCEEDED(file->Save(wide, TRUE));
    }
    file->Release();
  }
  link->Release();
  if (!saved) {
    ::DeleteFileA(temporary);  // a part written on a full drive
    return 0;
  }
  if (::MoveFileExA(temporary, linkPath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) return 1;
  ::DeleteFileA(temporary);
  return 0;
}

int RemoveShellShortcut(HWND owner, int folderId, const char* name, int isFolder) {
  char folder[kPathSize];
  if (!InitialiseOle() || !ResolveShortcutFolder(owner, folderId, folder)) return 0;
  char path[kPathSize + 8];
  if (isFolder) {
    if (!Fits(snprintf(path, sizeof path, "%s\\%s", folder, name), sizeof path)) return 0;
    // Our links go, then the group once nothing else is in it; what anyone
    // else keeps there stays. A group that is a link is removed itself: what
    // it points to is not ours.
    DWORD attributes = ::GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && LeadsOutside(path, folder)) {
      return DeleteEntryItself(path, attributes, "") ? 1 : 0;
    }
    char groupFinal[2 * kPathSize];
    if (!FinalPathOf(path, groupFinal, sizeof groupFinal)) groupFinal[0] = '\0';
    ForEachFolderEntry(path, [&](const WIN32_FIND_DATAA& entry) {
      if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !IsLinkFileName(entry.cFileName)) return true;
      char child[2 * kPathSize];
      // A link file is deleted itself, never followed.
      if (Fits(snprintf(child, sizeof child, "%s\\%s", path, entry.cFileName), sizeof child)) {
        DeleteEntryItself(child, entry.dwFileAttributes, groupFinal);
      }
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

void RemoveAllShortcuts(HWND owner) {
  RemoveShellShortcut(owner, CSIDL_STARTUP, kGroupName, 0);
  PauseForPage(64);
  RemoveShellShortcut(owner, CSIDL_COMMON_STARTUP, kGroupName, 0);
  PauseForPage(64);
  RemoveShellShortcut(owner, CSIDL_DESKTOP, kGroupName, 0);
  PauseForPage(64);
  RemoveShellShortcut(owner, CSIDL_COMMON_PROGRAMS, kGroupName, 1);
  PauseForPage(64);
  RemoveShellShortcut(owner, CSIDL_PROGRAMS, kGroupName, 1);
  PauseForPage(64);
}

namespace {
const struct {
  int folderId;
  const char* name;
  const char* target;  // a file of the program folder (its icon is the table's); null: the group folder
  const char* arguments;
} kLinks[] = {
    {CSIDL_DESKTOP, kGroupName, kConverterFileName, ""},
    {CSIDL_PROGRAMS, kGroupName, nullptr, ""},
    {CSIDL_PROGRAMS, kGroupName, kConverterFileName, ""},
    {CSIDL_PROGRAMS, "Manual", kManualFileName, ""},
    {CSIDL_PROGRAMS, "Read Me", kReadMeFileName, ""},
    {CSIDL_PROGRAMS, "Help", kHelpPageFileName, ""},
    {CSIDL_PROGRAMS, "UnInstall", kInstallerFileName, kUninstallArgument},
};
}  // namespace

const size_t kShortcutCount = sizeof kLinks / sizeof kLinks[0];

int CreateShortcutAt(HWND owner, size_t index, const char* programDir, const ShortcutWatcher& beforeEach) {
  const auto& link = kLinks[index];
  const int isFolder = link.target == nullptr ? 1 : 0;
  char linkPath[kLinkPathSize];
  char target[kPathSize];
  char icon[kPathSize];
  if (!ShortcutLinkPath(owner, link.folderId, link.name, isFolder, linkPath) ||
      (!isFolder && (!JoinPath(target, programDir, link.target) ||
                     !JoinPath(icon, programDir, FindProgramFile(link.target)->icon)))) {
    return 0;
  }
  if (beforeEach) beforeEach(linkPath, isFolder != 0);
  int made = 1;
  if (isFolder) {
    // An existing group is fine: its links are replaced one by one.
    CreateShellShortcut(owner, link.folderId, "", "", link.name, "", "", 1);
  } else {
    made = CreateShellShortcut(owner, link.folderId, target, link.arguments, link.name, programDir, icon, 0);
  }
  PauseForPage(64);
  // The wait cursor covers the desktop link only.
  if (link.folderId == CSIDL_DESKTOP) {
    EndWaitCursor();
    PauseForPage(64);
  }
  return made;
}

int CreateAllShortcuts(HWND owner, const char* programDir) {
  int made = 1;
  for (size_t i = 0; i < kShortcutCount; ++i) {
    if (!CreateShortcutAt(owner, i, programDir, nullptr)) made = 0;
  }
  return made;
}

void RemoveOtherShortcuts(HWND owner) {
  RemoveShellShortcut(owner, CSIDL_STARTUP, kGroupName, 0);
  PauseForPage(64);
  RemoveShellShortcut(owner, CSIDL_COMMON_STARTUP, kGroupName, 0);
  PauseForPage(64);
  RemoveShellShortcut(owner, CSIDL_COMMON_PROGRAMS, kGroupName, 1);
  PauseForPage(64);
}

#include "installer/folders.h"

#include <direct.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/file_safety.h"
#include "common/install_rules.h"
#include "common/strings.h"
#include "installer/folder_identity.h"
#include "installer/folder_names.h"
#include "installer/folder_security.h"
#include "installer/installer_state.h"

int GetSpecialFolderByItemList(int folderId, char* path) {
  path[0] = '\0';
  LPITEMIDLIST items = nullptr;
  if (FAILED(::SHGetSpecialFolderLocation(nullptr, folderId, &items)) || items == nullptr) return 0;
  // Wide, so a name the code page cannot write is noticed instead of coming back with '?'.
  WCHAR wide[MAX_PATH] = {};
  const BOOL found = ::SHGetPathFromIDListW(items, wide);
  IMalloc* allocator = nullptr;
  if (SUCCEEDED(::SHGetMalloc(&allocator))) {
    allocator->Free(items);
    allocator->Release();
  }
  if (!found || !UsableFolderName(nullptr, wide, path)) return 0;
  TrimTrailingBackslashes(path);
  return 1;
}

int GetSpecialFolder(HWND owner, int folderId, char* path) {
  path[0] = '\0';
  WCHAR wide[MAX_PATH] = {};
  if (!::SHGetSpecialFolderPathW(owner, wide, folderId, FALSE)) return GetSpecialFolderByItemList(folderId, path);
  if (!UsableFolderName(owner, wide, path)) return 0;
  TrimTrailingBackslashes(path);
  return 1;
}

int CreateFolderPath(HWND owner, const char* path, int showMessages) {
  char copy[MAX_PATH] = {};
  CopyStringBounded(copy, path, sizeof copy);  // at most 259 characters
  if (copy[0] >= 'a' && copy[0] <= 'z') copy[0] = static_cast<char>(copy[0] - 'a' + 'A');
  if (copy[0] < 'A' || copy[0] > 'Z') {
    if (showMessages) {
      ShowMessage(owner, kProductName, MB_ICONERROR,
                  "The Path you Specified:\n%s\ncould not be created because it does not include a valid drive letter.",
                  copy);
    }
    return 0;
  }
  char saved[kPathSize] = {};
  if (_getcwd(saved, sizeof saved) == nullptr) saved[0] = '\0';
  TrimTrailingBackslashes(copy);

  int result = 1;
  const size_t length = strlen(copy);
  for (size_t i = 1; i <= 234; ++i) {
    bool atEnd = i >= length;
    if (!atEnd && copy[i] != '\\') continue;
    if (copy[i - 1] != ':') {
      char prefix[MAX_PATH] = {};
      CopyStringBounded(prefix, copy, i + 1);
      CreateOwnFolder(prefix);
      if (_chdir(prefix) != 0) {
        if (showMessages) {
          ShowMessage(owner, kProductName, MB_ICONERROR, "The Path you Specified:\n%s\ncould not be created.", prefix);
        }
        result = 0;
        break;
      }
    }
    if (atEnd) break;
  }
  // _chdir to a full path also makes its drive current, so this restores both.
  if (saved[0] != '\0') _chdir(saved);
  return result;
}

namespace {

// The folders the system and the user keep. None may be a program folder, nor
// a folder holding one; the Windows folder encloses too, so nothing inside it
// may be one either. Program files and user folders enclose the default
// proposals ({local application data}\Marlowbrook\qtra), so they do not.
const int kWindowsFolderIds[] = {CSIDL_WINDOWS, CSIDL_SYSTEM, CSIDL_SYSTEMX86, CSIDL_FONTS};
const int kKeptFolderIds[] = {
    CSIDL_PROFILE, CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILES_COMMON, CSIDL_PROGRAM_FILESX86,
    CSIDL_PROGRAM_FILES_COMMONX86, CSIDL_DESKTOPDIRECTORY, CSIDL_PERSONAL, CSIDL_MYPICTURES, CSIDL_MYMUSIC,
    CSIDL_MYVIDEO, CSIDL_FAVORITES, CSIDL_APPDATA, CSIDL_LOCAL_APPDATA, CSIDL_PROGRAMS, CSIDL_STARTMENU,
    CSIDL_STARTUP, CSIDL_SENDTO, CSIDL_TEMPLATES, CSIDL_RECENT, CSIDL_NETHOOD, CSIDL_PRINTHOOD, CSIDL_COOKIES,
    CSIDL_HISTORY, CSIDL_INTERNET_CACHE, CSIDL_ADMINTOOLS, CSIDL_CDBURN_AREA, CSIDL_COMMON_APPDATA,
    CSIDL_COMMON_DOCUMENTS, CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_COMMON_PICTURES, CSIDL_COMMON_MUSIC,
    CSIDL_COMMON_VIDEO, CSIDL_COMMON_PROGRAMS, CSIDL_COMMON_STARTMENU, CSIDL_COMMON_STARTUP, CSIDL_COMMON_FAVORITES,
    CSIDL_COMMON_TEMPLATES, CSIDL_COMMON_ADMINTOOLS,
};
// The same folders as the environment names them: a 32-bit process on 64-bit
// Windows learns the 64-bit Program Files only here.
const char* const kWindowsVariables[] = {"SystemRoot", "windir"};
const char* const kKeptVariables[] = {
    "ProgramFiles", "ProgramFiles(x86)", "ProgramW6432", "CommonProgramFiles", "CommonProgramFiles(x86)",
    "CommonProgramW6432", "USERPROFILE", "PUBLIC", "ALLUSERSPROFILE", "ProgramData", "APPDATA", "LOCALAPPDATA",
};
// Known folders that have no CSIDL number (Windows Vista and later).
const GUID kKnownFolderIds[] = {
    {0x374de290, 0x123f, 0x4565, {0x91, 0x64, 0x39, 0xc4, 0x92, 0x5e, 0x46, 0x7b}},  // Downloads
    {0x4c5c32ff, 0xbb9d, 0x43b0, {0xb5, 0xb4, 0x2d, 0x72, 0xe5, 0x4e, 0xaa, 0xa4}},  // Saved Games
    {0x56784854, 0xc6cb, 0x462b, {0x81, 0x69, 0x88, 0xe3, 0x50, 0xac, 0xb8, 0x82}},  // Contacts
    {0xbfb9d5e0, 0xc6a9, 0x404c, {0xb2, 0xb2, 0xae, 0x6d, 0xb6, 0xaf, 0x49, 0x68}},  // Links
    {0x7d1d3a04, 0xdebb, 0x4115, {0x95, 0xcf, 0x2f, 0x29, 0xda, 0x29, 0x20, 0xda}},  // Searches
    {0xa520a1a4, 0x1780, 0x4ff6, {0xbd, 0x18, 0x16, 0x73, 0x43, 0xc5, 0xaf, 0x16}},  // AppData\LocalLow
    {0xdfdf76a2, 0xc82a, 0x4d63, {0x90, 0x6a, 0x56, 0x44, 0xac, 0x45, 0x73, 0x85}},  // Public
    {0x3d644c9b, 0x1fb8, 0x4f30, {0x9b, 0x45, 0xf6, 0x70, 0x23, 0x5f, 0x79, 0xc0}},  // Public Downloads
};
// Where those lie in a profile when the system cannot say (Windows XP).
const char* const kProfileFolderNames[] = {"Downloads", "Saved Games", "Contacts", "Links", "Searches",
                                           "AppData\\LocalLow", "Favorites", "Music", "Pictures", "Videos"};

typedef HRESULT(WINAPI* KnownFolderFunction)(REFGUID, DWORD, HANDLE, PWSTR*);

class FolderList {
 public:
  // By each of its names: a folder reached by another is the same folder.
  void Add(const char* path) {
    FolderNames names;
    NameFolder(path, &names);
    for (const char* name : {names.full, names.longName, names.where}) {
      if (name[0] != '\0') m_paths.push_back(name);
    }
  }
  void AddSpecial(int folderId) {
    char path[kPathSize] = {};
    if (::SHGetSpecialFolderPathA(nullptr, path, folderId, FALSE)) Add(path);
  }
  void AddVariable(const char* name) {
    char path[kPathSize] = {};
    const DWORD length = ::GetEnvironmentVariableA(name, path, sizeof path);
    if (length > 0 && length < sizeof path) Add(path);
  }
  void AddKnown(const GUID& id) {
    static const KnownFolderFunction known = reinterpret_cast<KnownFolderFunction>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("shell32.dll"), "SHGetKnownFolderPath")));
    PWSTR wide = nullptr;
    if (known == nullptr || FAILED(known(id, 0, nullptr, &wide)) || wide == nullptr) return;
    char path[kPathSize] = {};
    if (::WideCharToMultiByte(CP_ACP, 0, wide, -1, path, sizeof path, nullptr, nullptr) > 0) Add(path);
    ::CoTaskMemFree(wide);
  }
  void AddInProfile(const char* name) {
    char profile[kPathSize] = {};
    char path[kPathSize];
    if (::SHGetSpecialFolderPathA(nullptr, profile, CSIDL_PROFILE, FALSE) && JoinPath(path, profile, name)) Add(path);
  }
  const std::vector<std::string>& Paths() const { return m_paths; }

 private:
  std::vector<std::string> m_paths;
};

std::vector<const char*> Pointers(const std::vector<std::string>& paths) {
  std::vector<const char*> list;
  for (const std::string& path : paths) list.push_back(path.c_str());
  return list;
}

}  // namespace

FolderVerdict CheckProgramFolder(const char* path, char* full) {
  const FolderVerdict text = JudgeFolderText(path);
  if (text != kFolderUsable) return text;
  // Judged by each of its names: a short name, a drive letter that stands for
  // a folder or a link may hide what the folder is.
  FolderNames names;
  NameFolder(path, &names);
  if (names.full[0] == '\0') return kFolderIsRoot;
  const char* const forms[] = {names.full, names.longName, names.where};
  for (const char* form : forms) {
    if (form[0] == '\0') continue;
    // A share by any of its names, or a drive letter mapped to one, is a network folder.
    if (JudgeFolderText(form) == kFolderIsNetwork) return kFolderIsNetwork;
    const char root[4] = {form[0], ':', '\\', '\0'};
    if (form[1] == ':' && ::GetDriveTypeA(root) == DRIVE_REMOTE) return kFolderIsNetwork;
  }
  if (full != nullptr) CopyStringBounded(full, RecordedName(names), kPathSize);
  // The system's and the user's folders do not move while the installer runs:
  // they are named (three ways each) once, not at every judgement.
  static const std::vector<std::string>* const kept = [] {
    FolderList list;
    for (int id : kKeptFolderIds) list.AddSpecial(id);
    for (const char* name : kKeptVariables) list.AddVariable(name);
    for (const GUID& id : kKnownFolderIds) list.AddKnown(id);
    for (const char* name : kProfileFolderNames) list.AddInProfile(name);
    return new std::vector<std::string>(list.Paths());
  }();
  static const std::vector<std::string>* const windows = [] {
    FolderList list;
    for (int id : kWindowsFolderIds) list.AddSpecial(id);
    for (const char* name : kWindowsVariables) list.AddVariable(name);
    return new std::vector<std::string>(list.Paths());
  }();
  const std::vector<const char*> held = Pointers(*kept);
  const std::vector<const char*> enclosing = Pointers(*windows);
  for (const char* form : forms) {
    if (form[0] == '\0') continue;
    const FolderVerdict verdict = JudgeProgramFolder(form, held.data(), held.size(), enclosing.data(), enclosing.size());
    if (verdict != kFolderUsable) return verdict;
  }
  return kFolderUsable;
}

int RemoveProgramFiles(const char* path, bool recorded, const char* keep) {
  char full[kPathSize];
  const FolderVerdict verdict = CheckProgramFolder(path, full);
  // A folder an earlier version installed into and this one refuses keeps
  // itself and everything but our files.
  const bool keepFolder = recorded && verdict == kFolderIsProtected;
  if (verdict != kFolderUsable && !keepFolder) return 0;
  DWORD attributes = ::GetFileAttributesA(full);
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return 0;
  char top[2 * kPathSize];
  if (!FinalPathOf(full, top, sizeof top)) top[0] = '\0';
  bool othersLeft = false;
  ForEachFolderEntry(full, [&](const WIN32_FIND_DATAA& entry) {
    const DWORD kind = entry.dwFileAttributes;
    // Only our own files go; a folder is never one of them.
    if (!IsOurProgramFile(entry.cFileName) || ((kind & FILE_ATTRIBUTE_DIRECTORY) && !(kind & FILE_ATTRIBUTE_REPARSE_POINT))) {
      othersLeft = othersLeft || (kind & FILE_ATTRIBUTE_DIRECTORY) || !IsExplorerFile(entry.cFileName);
      return true;
    }
    char child[kPathSize];
    if ((keep != nullptr && _stricmp(entry.cFileName, keep) == 0) || !JoinPath(child, full, entry.cFileName)) {
      othersLeft = true;  // the folder stays for now
      return true;
    }
    // A link goes itself, never what it points to; an entry that lies
    // elsewhere without saying it is a link (Wine) stays.
    DeleteEntryItself(child, kind, top);
    return true;
  });
  if (keepFolder || keep != nullptr) return 0;
  // Explorer's own files kept no one's folder: they go with the last of ours.
  if (!othersLeft) {
    ForEachFolderEntry(full, [&](const WIN32_FIND_DATAA& entry) {
      char child[kPathSize];
      if (IsExplorerFile(entry.cFileName) && !(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
          JoinPath(child, full, entry.cFileName)) {
        // Explorer marks them hidden and system, and sometimes read-only.
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) ::SetFileAttributesA(child, FILE_ATTRIBUTE_NORMAL);
        DeleteEntryItself(child, entry.dwFileAttributes, top);
      }
      return true;
    });
  }
  return ::RemoveDirectoryA(full) ? 1 : 0;
}

void DeleteOurFile(const char* path, bool patience) {
  for (int attempt = 0; attempt < (patience ? 40 : 1) && PathExists(path); ++attempt) {
    if (attempt > 0) ::Sleep(50);
    ::SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(path);
  }
}

bool ForEachFolderEntry(const char* folder, const std::function<bool(const WIN32_FIND_DATAA&)>& visit) {
  char pattern[kPathSize];
  if (!JoinPath(pattern, folder, "*.*")) return false;
  WIN32_FIND_DATAA entry;
  HANDLE find = ::FindFirstFileA(pattern, &entry);
  if (find == INVALID_HANDLE_VALUE) return false;
  do {
    if (strcmp(entry.cFileName, ".") == 0 || strcmp(entry.cFileName, "..") == 0) continue;
    if (!visit(entry)) break;
  } while (::FindNextFileA(find, &entry));
  ::FindClose(find);
  return true;
}

int ListFolderEntries(const char* folder, char* out, size_t size) {
  if (size > 0) out[0] = '\0';
  int count = 0;
  size_t used = 0;
  bool full = false;
  ForEachFolderEntry(folder, [&](const WIN32_FIND_DATAA& entry) {
    ++count;
    if (full) return true;
    // Room is kept for the "..." that says the list goes on.
    const int written = snprintf(out + used, size - used, "%s%s", used > 0 ? "\n" : "", entry.cFileName);
    if (written < 0 || used + static_cast<size_t>(written) + 5 > size) {
      out[used] = '\0';
      snprintf(out + used, size - used, "%s...", used > 0 ? "\n" : "");
      full = true;
    } else {
      used += static_cast<size_t>(written);
    }
    return true;
  });
  return count;
}

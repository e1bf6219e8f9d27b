#include "installer/folders.h"

#include <direct.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "common/file_safety.h"
#include "common/strings.h"
#include "installer/folder_names.h"
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
      _mkdir(prefix);
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

// The folders no installation may take over. The shell's user folders lie
// inside the profile and are covered by it only for a folder holding them,
// so they are listed as well.
const int kProtectedFolderIds[] = {
    CSIDL_WINDOWS,      CSIDL_SYSTEM,        CSIDL_PROFILE, CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILES_COMMON,
    CSIDL_DESKTOPDIRECTORY, CSIDL_PERSONAL, CSIDL_APPDATA, CSIDL_LOCAL_APPDATA, CSIDL_COMMON_APPDATA,
    CSIDL_PROGRAMS,     CSIDL_STARTMENU,     CSIDL_COMMON_DOCUMENTS,
};
const size_t kProtectedCount = sizeof kProtectedFolderIds / sizeof kProtectedFolderIds[0];

// Deletes what `path` holds, then `path` itself. `top` is where the folder
// being deleted really lies; empty when the system cannot tell.
bool DeleteInside(const char* path, const char* top) {
  bool complete = true;
  bool linkKept = false;
  bool kept = false;  // an entry that would not go; the others still go
  const bool listed = ForEachFolderEntry(path, [&](const WIN32_FIND_DATAA& entry) {
    char child[kPathSize];
    if (!JoinPath(child, path, entry.cFileName)) {
      complete = false;
      return false;
    }
    const DWORD attributes = entry.dwFileAttributes;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && entry.cFileName[0] == '.') return true;
    char where[2 * kPathSize];
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
      // A link goes itself; what it points to is not ours. One that will not
      // go (Wine cannot remove a folder link) keeps the folder, but the
      // deletion of our own files goes on.
      if (!DeleteEntryItself(child, attributes, top)) linkKept = true;
    } else if (top[0] != '\0' && FinalPathOf(child, where, sizeof where) && !IsSameOrInside(where, top)) {
      // It lies elsewhere without saying it is a link (a link under Wine,
      // where deleting a file link deletes its target): left as it is.
      linkKept = true;
    } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (!DeleteInside(child, top)) kept = true;
    } else if (!::DeleteFileA(child)) {
      kept = true;
    }
    return true;
  });
  return listed && complete && !kept && !linkKept && ::RemoveDirectoryA(path);
}

}  // namespace

FolderVerdict CheckProgramFolder(const char* path, char* full) {
  char resolved[kPathSize];
  // "C:" or "qtra" would mean whatever the working directory is at the time.
  if (!IsAbsolutePath(path) || !ResolveFullPath(path, resolved, sizeof resolved)) return kFolderIsRoot;
  TrimTrailingBackslashes(resolved);
  if (full != nullptr) CopyStringBounded(full, resolved, kPathSize);
  char folders[kProtectedCount][kPathSize];
  const char* list[kProtectedCount];
  for (size_t i = 0; i < kProtectedCount; ++i) {
    char special[kPathSize] = {};
    if (!::SHGetSpecialFolderPathA(nullptr, special, kProtectedFolderIds[i], FALSE) ||
        !ResolveFullPath(special, folders[i], kPathSize)) {
      folders[i][0] = '\0';
    }
    list[i] = folders[i];
  }
  return JudgeProgramFolder(resolved, list, kProtectedCount);
}

int DeleteFolderTree(const char* path) {
  char full[kPathSize];
  if (CheckProgramFolder(path, full) != kFolderUsable) return 0;
  DWORD attributes = ::GetFileAttributesA(full);
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return 0;
  char top[2 * kPathSize];
  if (!FinalPathOf(full, top, sizeof top)) top[0] = '\0';
  return DeleteInside(full, top) ? 1 : 0;
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

#include "installer/folders.h"

#include <direct.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "common/strings.h"
#include "installer/installer_state.h"

int GetSpecialFolderByItemList(int folderId, char* path) {
  path[0] = '\0';
  LPITEMIDLIST items = nullptr;
  if (FAILED(::SHGetSpecialFolderLocation(nullptr, folderId, &items)) || items == nullptr) return 0;
  BOOL found = ::SHGetPathFromIDListA(items, path);
  IMalloc* allocator = nullptr;
  if (SUCCEEDED(::SHGetMalloc(&allocator))) {
    allocator->Free(items);
    allocator->Release();
  }
  if (!found) path[0] = '\0';
  TrimTrailingBackslashes(path);
  return found ? 1 : 0;
}

int GetSpecialFolder(HWND owner, int folderId, char* path) {
  path[0] = '\0';
  if (::SHGetSpecialFolderPathA(owner, path, folderId, FALSE)) {
    TrimTrailingBackslashes(path);
    return 1;
  }
  return GetSpecialFolderByItemList(folderId, path);
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

int DeleteFolderTree(const char* path) {
  char pattern[kPathSize];
  if (!JoinPath(pattern, path, "*.*")) return 0;
  WIN32_FIND_DATAA entry;
  HANDLE find = ::FindFirstFileA(pattern, &entry);
  if (find == INVALID_HANDLE_VALUE) return 0;
  if (strchr(path, '\\') == nullptr) {
    // A bare drive is never emptied.
    ::FindClose(find);
    return 0;
  }
  bool complete = true;
  do {
    char child[kPathSize];
    if (!JoinPath(child, path, entry.cFileName)) {
      complete = false;
      break;
    }
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (entry.cFileName[0] == '.') continue;
      if (!DeleteFolderTree(child)) complete = false;
    } else if (!::DeleteFileA(child)) {
      complete = false;
    }
  } while (complete && ::FindNextFileA(find, &entry));
  ::FindClose(find);
  if (!complete) return 0;
  return ::RemoveDirectoryA(path);
}

#include "common/file_safety.h"

#include "common/paths.h"

namespace {
typedef DWORD(WINAPI* FinalPathFunction)(HANDLE, LPSTR, DWORD, DWORD);

// Looked up at run time: Windows XP has no such function and must still start.
FinalPathFunction FinalPathLookup() {
  static FinalPathFunction function = reinterpret_cast<FinalPathFunction>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "GetFinalPathNameByHandleA")));
  return function;
}
}  // namespace

bool ResolveFullPath(const char* path, char* out, size_t size) {
  if (out == nullptr || size == 0) return false;
  out[0] = '\0';
  if (path == nullptr || path[0] == '\0') return false;
  DWORD length = ::GetFullPathNameA(path, static_cast<DWORD>(size), out, nullptr);
  if (length == 0 || length >= size) {
    out[0] = '\0';
    return false;
  }
  return true;
}

bool FinalPathOf(const char* path, char* out, size_t size) {
  out[0] = '\0';
  FinalPathFunction finalPath = FinalPathLookup();
  if (finalPath == nullptr) return false;
  HANDLE handle = ::CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  DWORD length = finalPath(handle, out, static_cast<DWORD>(size), 0);
  ::CloseHandle(handle);
  if (length == 0 || length >= size) {
    out[0] = '\0';
    return false;
  }
  return true;
}

bool LeadsOutside(const char* path, const char* folder) {
  DWORD attributes = ::GetFileAttributesA(path);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return true;
  // Some file systems report a link without the attribute (a file link under
  // Wine): where the entry really lies decides.
  char entryFinal[2 * MAX_PATH];
  char folderFinal[2 * MAX_PATH];
  if (!FinalPathOf(path, entryFinal, sizeof entryFinal) || !FinalPathOf(folder, folderFinal, sizeof folderFinal)) {
    return false;
  }
  return !IsSameOrInside(entryFinal, folderFinal);
}

bool DeleteEntryItself(const char* path, DWORD attributes, const char* folderFinal) {
  if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT) && folderFinal != nullptr && folderFinal[0] != '\0') {
    char where[2 * MAX_PATH];
    if (FinalPathOf(path, where, sizeof where) && !IsSameOrInside(where, folderFinal)) return false;
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return ::RemoveDirectoryA(path) != 0;
  return ::DeleteFileA(path) != 0;
}

bool ClearLinkForWriting(const char* path, const char* folder) {
  DWORD attributes = ::GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES || !LeadsOutside(path, folder)) return true;
  // Only an entry that says it is a link can be removed without its target.
  if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return false;
  DeleteEntryItself(path, attributes, "");
  return ::GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES;
}

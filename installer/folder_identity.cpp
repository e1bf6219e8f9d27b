#include "installer/folder_identity.h"

#include <cstring>
#include <string>

#include "common/file_safety.h"
#include "common/paths.h"
#include "common/strings.h"
#include "common/wide_text.h"

namespace {

// Room for any path the installer can use, in any of its forms.
const DWORD kWideSize = 1024;

typedef DWORD(WINAPI* FinalPathFunctionW)(HANDLE, LPWSTR, DWORD, DWORD);

// Looked up at run time: Windows XP has no such function and must still start.
FinalPathFunctionW FinalPathLookupW() {
  static FinalPathFunctionW function = reinterpret_cast<FinalPathFunctionW>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "GetFinalPathNameByHandleW")));
  return function;
}

void TrimBackslashes(std::wstring* path) {
  while (!path->empty() && path->back() == L'\\') path->pop_back();
}

// Opened to be looked at only, shared every way, a folder as well as a file;
// a link or junction is followed to what it points to.
HANDLE OpenToLookAt(const wchar_t* path) {
  return ::CreateFileW(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// The full path `full` in the wide form the system names it in.
bool ToWide(const char* full, std::wstring* out) {
  wchar_t wide[kWideSize];
  if (::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, full, -1, wide, kWideSize) == 0) return false;
  *out = wide;
  return true;
}

// A drive letter that stands for a folder is replaced by that folder, again
// for a drive that stands for a folder of another such drive.
void ResolveDriveFolders(std::wstring* path) {
  for (int round = 0; round < 8 && path->size() >= 3; ++round) {
    const wchar_t drive[3] = {(*path)[0], L':', L'\0'};
    wchar_t target[kWideSize] = {};
    wchar_t through[kWideSize];
    if (::QueryDosDeviceW(drive, target, kWideSize) == 0 ||
        !PathThroughDriveFolder(path->c_str(), target, through, kWideSize)) {
      return;
    }
    *path = through;
  }
}

// `resolve` applied to the deepest level of `path` it succeeds on, with the
// levels below put back on: a folder still to be made is named through its
// existing parent.
template <typename Resolve>
bool AtDeepestLevel(const std::wstring& path, std::wstring* out, Resolve resolve) {
  std::wstring level = path;
  std::wstring below;
  for (int guard = 0; guard < 128; ++guard) {
    wchar_t resolved[kWideSize];
    if (resolve(level.c_str(), resolved)) {
      *out = resolved;
      if (!below.empty()) TrimBackslashes(out);
      *out += below;
      return true;
    }
    const size_t cut = level.rfind(L'\\');
    // "C:\name" goes up to "C:\", never to "C:" (that drive's working folder).
    const size_t keep = cut == 2 && level[1] == L':' ? 3 : cut;
    if (cut == std::wstring::npos || cut < 2 || keep >= level.size()) return false;
    below = level.substr(cut) + below;
    level.resize(keep);
  }
  return false;
}

bool LongNameOf(const wchar_t* path, wchar_t* out) {
  const DWORD length = ::GetLongPathNameW(path, out, kWideSize);
  return length > 0 && length < kWideSize;
}

// Where `path` really lies, in its plain form ("\\?\" and "\\?\UNC\" taken off).
bool FinalNameOf(const wchar_t* path, wchar_t* out) {
  HANDLE handle = OpenToLookAt(path);
  if (handle == INVALID_HANDLE_VALUE) return false;
  wchar_t named[kWideSize];
  const DWORD length = FinalPathLookupW()(handle, named, kWideSize, 0);
  ::CloseHandle(handle);
  if (length == 0 || length >= kWideSize) return false;
  const std::wstring name = named;
  std::wstring plain = name;
  if (name.compare(0, 8, L"\\\\?\\UNC\\") == 0) {
    plain = L"\\\\" + name.substr(8);
  } else if (name.compare(0, 4, L"\\\\?\\") == 0) {
    plain = name.substr(4);
  }
  if (plain.size() >= kWideSize) return false;
  plain.copy(out, plain.size());
  out[plain.size()] = L'\0';
  return true;
}

// `wide` as the installer's ANSI functions name it (kPathSize), or empty.
void ToProgramPath(const std::wstring& wide, char* out) {
  const PathFormChoice choice = ProgramPathOf(wide.c_str(), out, kPathSize);
  if (choice != kUseLongForm && choice != kUseShortForm) out[0] = '\0';
  TrimTrailingBackslashes(out);
}

bool IdentityOf(const char* path, BY_HANDLE_FILE_INFORMATION* info) {
  // A drive's root keeps its backslash: "C:" alone names the volume.
  const char root[4] = {path[0], ':', '\\', '\0'};
  const bool drive = path[0] != '\0' && path[1] == ':' && path[2] == '\0';
  HANDLE handle = ::CreateFileA(drive ? root : path, FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  const bool known = ::GetFileInformationByHandle(handle, info) != 0;
  ::CloseHandle(handle);
  return known;
}

// Both exist and are one file or folder by their volume and file index.
bool SameIdentity(const char* a, const char* b) {
  BY_HANDLE_FILE_INFORMATION first = {};
  BY_HANDLE_FILE_INFORMATION second = {};
  return IdentityOf(a, &first) && IdentityOf(b, &second) &&
         first.dwVolumeSerialNumber == second.dwVolumeSerialNumber && first.nFileIndexHigh == second.nFileIndexHigh &&
         first.nFileIndexLow == second.nFileIndexLow;
}

bool SameText(const char* a, const char* b) { return a[0] != '\0' && b[0] != '\0' && IsSameFolder(a, b); }

}  // namespace

void NameFolder(const char* path, FolderNames* names) {
  names->full[0] = names->longName[0] = names->where[0] = '\0';
  if (path == nullptr || path[0] == '\0' || !ResolveFullPath(path, names->full, sizeof names->full)) return;
  std::wstring wide;
  const bool widened = ToWide(names->full, &wide);
  TrimTrailingBackslashes(names->full);
  if (!widened) return;
  while (wide.size() > 3 && wide.back() == L'\\') wide.pop_back();
  ResolveDriveFolders(&wide);
  std::wstring longName;
  if (!AtDeepestLevel(wide, &longName, LongNameOf)) longName = wide;
  ToProgramPath(longName, names->longName);
  std::wstring where;
  if (FinalPathLookupW() != nullptr && AtDeepestLevel(longName, &where, FinalNameOf)) {
    ToProgramPath(where, names->where);
  }
}

const char* RecordedName(const FolderNames& names) {
  const size_t length = strlen(names.longName);
  return length > 0 && length <= kMaxTargetLength ? names.longName : names.full;
}

bool RecordedFormOf(const char* path, char* out) {
  FolderNames names;
  NameFolder(path, &names);
  CopyStringBounded(out, RecordedName(names), kPathSize);
  return out[0] != '\0';
}

bool IsSameFolderOnDisk(const char* a, const char* b) {
  if (a == nullptr || b == nullptr || a[0] == '\0' || b[0] == '\0') return false;
  if (IsSameFolder(a, b)) return true;
  FolderNames first;
  FolderNames second;
  NameFolder(a, &first);
  NameFolder(b, &second);
  return SameText(first.longName, second.longName) || SameText(first.where, second.where) ||
         (first.full[0] != '\0' && second.full[0] != '\0' && SameIdentity(first.full, second.full));
}

bool IsInsideFolderOnDisk(const char* path, const char* folder) {
  if (path == nullptr || folder == nullptr || path[0] == '\0' || folder[0] == '\0') return false;
  FolderNames inner;
  FolderNames outer;
  NameFolder(path, &inner);
  NameFolder(folder, &outer);
  if (inner.where[0] != '\0' && outer.where[0] != '\0') {
    if (IsSameOrInside(inner.where, outer.where)) return true;
  } else if (inner.longName[0] != '\0' && outer.longName[0] != '\0') {
    if (IsSameOrInside(inner.longName, outer.longName)) return true;
  } else if (IsSameOrInside(path, folder)) {
    return true;
  }
  return inner.full[0] != '\0' && outer.full[0] != '\0' && SameIdentity(inner.full, outer.full);
}

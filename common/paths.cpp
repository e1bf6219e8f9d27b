#include "common/paths.h"

#include <cstdio>
#include <cstring>
#include <cwchar>  // wcslen

bool JoinPathChecked(char* out, size_t size, const char* folder, const char* name) {
  if (out == nullptr || size == 0) return false;
  int length = snprintf(out, size, "%s\\%s", folder != nullptr ? folder : "", name != nullptr ? name : "");
  if (length >= 0 && static_cast<size_t>(length) < size) return true;
  out[0] = '\0';
  return false;
}

namespace {

// The path without a "\\?\" prefix; "\\?\UNC\" becomes "\\" through `unc`.
const char* PlainForm(const char* path, bool* unc) {
  *unc = false;
  if (strncmp(path, "\\\\?\\", 4) == 0 || strncmp(path, "\\\\.\\", 4) == 0) {
    path += 4;
    if ((path[0] == 'U' || path[0] == 'u') && (path[1] == 'N' || path[1] == 'n') && (path[2] == 'C' || path[2] == 'c') &&
        path[3] == '\\') {
      *unc = true;
      return path + 4;
    }
    return path;
  }
  if (path[0] == '\\' && path[1] == '\\') {
    *unc = true;
    return path + 2;
  }
  return path;
}

// Length of `text` without its trailing backslashes.
size_t TrimmedLength(const char* text) {
  size_t length = strlen(text);
  while (length > 0 && text[length - 1] == '\\') --length;
  return length;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool IsAbsolutePath(const char* path) {
  if (path == nullptr) return false;
  if (path[0] == '\\' && path[1] == '\\') return true;
  const bool letter = (path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z');
  return letter && path[1] == ':' && path[2] == '\\';
}

bool IsRootPath(const char* fullPath) {
  if (fullPath == nullptr) return true;
  bool unc = false;
  const char* rest = PlainForm(fullPath, &unc);
  const size_t length = TrimmedLength(rest);
  size_t components = 0;
  bool dotted = false;
  for (size_t i = 0; i < length;) {
    while (i < length && rest[i] == '\\') ++i;
    size_t start = i;
    while (i < length && rest[i] != '\\') ++i;
    if (i == start) continue;
    ++components;
    // "." and ".." left in a path mean it was never resolved.
    if (rest[start] == '.' && (i - start == 1 || (i - start == 2 && rest[start + 1] == '.'))) dotted = true;
  }
  if (dotted) return true;
  if (unc) return components <= 2;  // server and share
  // A full local path starts with its drive: "X:".
  const bool drive = length >= 2 && rest[1] == ':' && ((rest[0] >= 'A' && rest[0] <= 'Z') || (rest[0] >= 'a' && rest[0] <= 'z'));
  return !drive || components <= 1 || (length > 2 && rest[2] != '\\');
}

bool IsSameOrInside(const char* path, const char* folder) {
  if (path == nullptr || folder == nullptr) return false;
  bool pathUnc = false;
  bool folderUnc = false;
  const char* p = PlainForm(path, &pathUnc);
  const char* f = PlainForm(folder, &folderUnc);
  if (pathUnc != folderUnc) return false;
  const size_t folderLength = TrimmedLength(f);
  const size_t pathLength = TrimmedLength(p);
  if (folderLength == 0 || pathLength < folderLength) return false;
  for (size_t i = 0; i < folderLength; ++i) {
    if (Lower(p[i]) != Lower(f[i])) return false;
  }
  return pathLength == folderLength || p[folderLength] == '\\';
}

FolderVerdict JudgeFolderText(const char* path) {
  if (path == nullptr || path[0] == '\0') return kFolderIsRelative;
  bool unc = false;
  PlainForm(path, &unc);
  if (unc) return kFolderIsNetwork;
  return IsAbsolutePath(path) ? kFolderUsable : kFolderIsRelative;
}

FolderVerdict JudgeProgramFolder(const char* fullPath, const char* const* heldFolders, size_t heldCount,
                                 const char* const* enclosingFolders, size_t enclosingCount) {
  if (IsRootPath(fullPath)) return kFolderIsRoot;
  for (size_t i = 0; i < heldCount; ++i) {
    const char* guarded = heldFolders[i];
    if (guarded != nullptr && guarded[0] != '\0' && IsSameOrInside(guarded, fullPath)) return kFolderIsProtected;
  }
  for (size_t i = 0; i < enclosingCount; ++i) {
    const char* guarded = enclosingFolders[i];
    if (guarded == nullptr || guarded[0] == '\0') continue;
    if (IsSameOrInside(guarded, fullPath) || IsSameOrInside(fullPath, guarded)) return kFolderIsProtected;
  }
  return kFolderUsable;
}

bool IsSameFolder(const char* a, const char* b) { return IsSameOrInside(a, b) && IsSameOrInside(b, a); }

namespace {
bool IsDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

bool StartsWith(const wchar_t* text, const wchar_t* start) {
  while (*start != L'\0' && *text == *start) ++text, ++start;
  return *start == L'\0';
}

// Appends `length` letters of `text` at `*used` in `out`; false when they do not fit.
bool AppendWide(wchar_t* out, size_t count, size_t* used, const wchar_t* text, size_t length) {
  if (length >= count - *used) return false;
  for (size_t i = 0; i < length; ++i) out[*used + i] = text[i];
  *used += length;
  out[*used] = L'\0';
  return true;
}
}  // namespace

bool PathThroughDriveFolder(const wchar_t* path, const wchar_t* target, wchar_t* out, size_t count) {
  if (out == nullptr || count == 0) return false;
  out[0] = L'\0';
  if (path == nullptr || target == nullptr || !IsDriveLetter(path[0]) || path[1] != L':' || path[2] != L'\\' ||
      !StartsWith(target, L"\\??\\")) {
    return false;
  }
  const wchar_t* folder = target + 4;
  const wchar_t* lead = L"";
  if (StartsWith(folder, L"UNC\\") && folder[4] != L'\0') {
    lead = L"\\\\";
    folder += 4;
  } else if (!IsDriveLetter(folder[0]) || folder[1] != L':' || (folder[2] != L'\0' && folder[2] != L'\\')) {
    return false;
  }
  size_t folderLength = wcslen(folder);
  while (folderLength > 2 && folder[folderLength - 1] == L'\\') --folderLength;
  // The drive's root is the folder itself, without a trailing backslash, unless
  // the folder is a drive root too.
  const wchar_t* rest = path + 2;
  if (rest[1] == L'\0' && !(folderLength == 2 && lead[0] == L'\0')) ++rest;
  size_t used = 0;
  if (AppendWide(out, count, &used, lead, wcslen(lead)) && AppendWide(out, count, &used, folder, folderLength) &&
      AppendWide(out, count, &used, rest, wcslen(rest))) {
    return true;
  }
  out[0] = L'\0';
  return false;
}

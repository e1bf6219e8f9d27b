// Decisions on path strings that both programs make before they write or
// delete anything. Portable: no <windows.h>; the callers resolve paths first.
#pragma once
#include <cstddef>

// folder + "\" + name into `out` (size bytes). False, with `out` empty, when
// the whole path does not fit: a cut path could name another file.
bool JoinPathChecked(char* out, size_t size, const char* folder, const char* name);

// A path that names its drive ("X:\...") or share ("\\..."), so that it does
// not depend on a working directory.
bool IsAbsolutePath(const char* path);

// A drive ("C:", "C:\"), a share ("\\server\share") or less, in the plain or the
// "\\?\" form. Anything that is not a full path counts as a root too.
bool IsRootPath(const char* fullPath);

// True when `path` is `folder` or lies below it. Letters compare without case,
// "\\?\" and "\\?\UNC\" forms compare as their plain forms, trailing
// backslashes are ignored. "C:\ab" is not inside "C:\a".
bool IsSameOrInside(const char* path, const char* folder);

enum FolderVerdict {
  kFolderUsable,
  kFolderIsRoot,       // a drive or share root, or not a full path
  kFolderIsProtected,  // one of `protectedFolders`, or a folder holding one
};

// Whether a resolved full path may serve as a program folder, the one folder
// an uninstall deletes whole.
FolderVerdict JudgeProgramFolder(const char* fullPath, const char* const* protectedFolders, size_t count);

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
  kFolderIsRelative,   // not a full path: it would mean whatever the working folder is
  kFolderIsNetwork,    // a folder on a share ("\\server\share\...")
  kFolderIsRoot,       // a drive or share root, or not a full path
  kFolderIsProtected,  // a folder the system or the user keeps, or a folder holding one
};

// What the typed text of a folder says before it is resolved: relative,
// network, or (kFolderUsable) a full local path.
FolderVerdict JudgeFolderText(const char* path);

// Whether a resolved full path may serve as a program folder. Neither one of
// `heldFolders` nor a folder holding one may be; nor may `enclosingFolders`, a
// folder holding one, or any folder inside one.
FolderVerdict JudgeProgramFolder(const char* fullPath, const char* const* heldFolders, size_t heldCount,
                                 const char* const* enclosingFolders = nullptr, size_t enclosingCount = 0);

// True when both name the same folder (IsSameOrInside both ways).
bool IsSameFolder(const char* a, const char* b);

// A drive letter that stands for a folder, as `subst` makes one: `target` is
// what the system names the drive of the full path `path` (QueryDosDevice),
// "\??\C:\some\folder" or "\??\UNC\server\share" for such a drive, a device
// ("\Device\HarddiskVolume1") otherwise. The same path through that folder
// into `out` (count letters). False, with `out` empty, when the drive stands
// for no folder or the path does not fit.
bool PathThroughDriveFolder(const wchar_t* path, const wchar_t* target, wchar_t* out, size_t count);

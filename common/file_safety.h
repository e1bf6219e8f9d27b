// Guards both programs use before they write or delete a file: full paths,
// and links that lead out of a folder.
#pragma once
#include <windows.h>

#include <cstddef>

// GetFullPathNameA of `path` into `out`; false when it fails or does not fit.
bool ResolveFullPath(const char* path, char* out, size_t size);

// Where `path` really lies once every link is followed ("\\?\" form), through
// GetFinalPathNameByHandleA where the system has it. False when it has not
// (Windows XP) or the path cannot be opened.
bool FinalPathOf(const char* path, char* out, size_t size);

// True when the entry `path` of `folder` is a link (reparse point) or leads
// somewhere outside `folder` once resolved.
bool LeadsOutside(const char* path, const char* folder);

// Deletes the entry `path` itself, never what it points to. `attributes` are
// the entry's as listed; `folderFinal` is where its folder really lies
// (FinalPathOf), empty when unknown. A link (reparse point) is removed as a
// link: a folder link with RemoveDirectoryA, a file link with DeleteFileA. An
// entry that leads outside the folder without saying it is a link is left
// alone: Wine deletes the target of such a file link. True when removed.
bool DeleteEntryItself(const char* path, DWORD attributes, const char* folderFinal);

// Before a file of ours is written at `path` in `folder`: a link there that
// leads outside is removed (the link only). False when an entry leading
// outside stays, and then nothing may be written there.
bool ClearLinkForWriting(const char* path, const char* folder);

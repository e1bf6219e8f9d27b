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

// Removes the entry itself, never what a link points to: a folder or folder
// link with RemoveDirectoryA, anything else with DeleteFileA.
bool RemoveEntryItself(const char* path, DWORD attributes);

// Before a file of ours is written at `path` in `folder`: an entry there that
// leads outside is removed (the link only). False when such an entry stays,
// and then nothing may be written there.
bool ClearLinkForWriting(const char* path, const char* folder);

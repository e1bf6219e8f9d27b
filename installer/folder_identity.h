// Folders by what they are, not by how they are spelt. A short (8.3) name, a
// drive letter that stands for a folder (`subst`), a junction or a link give
// one folder many paths; every comparison of folders in the installer goes
// through here, and the portable text rules (common/paths.h) are applied to
// the names this finds.
#pragma once
#include <windows.h>

#include "installer/installer_state.h"

// The names of one folder, each without trailing backslashes and empty where
// it is unknown (kPathSize each).
struct FolderNames {
  char full[kPathSize];      // the full path as given
  char longName[kPathSize];  // a drive letter that stands for a folder replaced by the folder, each existing
                             // level by its long name (by its short name where the code page lacks letters of it)
  char where[kPathSize];     // where it really lies, links and junctions followed (not on Windows XP)
};

// The names of `path`. A level that does not exist yet (a folder still to be
// made) is named through its existing parent.
void NameFolder(const char* path, FolderNames* names);

// The name a folder is recorded and installed by: its long name, or its full
// path where the long name is unknown or longer than an installation's may be.
const char* RecordedName(const FolderNames& names);

// RecordedName of `path` into `out` (kPathSize). False when it has none.
bool RecordedFormOf(const char* path, char* out);

// True when `a` and `b` are one folder: the same text once their names are
// resolved, or (where both exist) the same volume serial number and file index.
bool IsSameFolderOnDisk(const char* a, const char* b);

// True when `path` is `folder` or really lies inside it: decided on where both
// really lie where the system says, else on their long names.
bool IsInsideFolderOnDisk(const char* path, const char* folder);

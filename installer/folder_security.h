// The folders the installer makes for the program.
#pragma once
#include <windows.h>

// Makes the one folder `path` (a full path whose parent exists). Outside the
// user's profile and the Program Files folders it is made ours alone: full
// control for this user, Administrators and SYSTEM, read and execute for Users,
// nothing for anyone else, and nothing inherited from the folder above (a
// folder at a drive's root would let every signed-in user write). Inside them
// it inherits the parent's permissions, which protect it already. True when
// this call made the folder.
bool CreateOwnFolder(const char* path);

// The security descriptor of such a folder: a protected access list with the
// four entries above, each inherited by the files and folders inside.
class COwnFolderSecurity {
 public:
  COwnFolderSecurity();
  COwnFolderSecurity(const COwnFolderSecurity&) = delete;
  COwnFolderSecurity& operator=(const COwnFolderSecurity&) = delete;
  // Null when it could not be built.
  SECURITY_DESCRIPTOR* Descriptor() { return m_built ? &m_descriptor : nullptr; }

 private:
  DWORD m_acl[256];  // four entries of at most 8 + 68 bytes each, and the header
  SECURITY_DESCRIPTOR m_descriptor = {};
  bool m_built = false;
};

// Whether CreateOwnFolder gives `path` permissions of its own.
bool NeedsOwnPermissions(const char* path);

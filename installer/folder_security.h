// The folders the installer makes for the program.
#pragma once

// Makes the one folder `path` (a full path whose parent exists). Outside the
// user's profile and the Program Files folders it is made ours alone: full
// control for this user, Administrators and SYSTEM, read and execute for Users,
// nothing for anyone else, and nothing inherited from the folder above (a
// folder at a drive's root would let every signed-in user write). Inside them
// it inherits the parent's permissions, which protect it already. True when
// this call made the folder.
bool CreateOwnFolder(const char* path);

// Whether CreateOwnFolder gives `path` permissions of its own.
bool NeedsOwnPermissions(const char* path);

// The per-user entry through which Windows lists the program and starts its
// uninstaller, and the removal of everything the program kept in the registry.
#pragma once
#include <cstddef>

extern const char kUninstallKey[];  // under HKEY_CURRENT_USER
extern const char kProductPageUrl[];
extern const char kInstallerDownloadUrl[];

// Writes the entry for the program installed in `programDir`. 1 when the key
// could be created or opened.
int WriteUninstallEntry(const char* programDir);

// Deletes the entry and the product's settings key with all its sub-keys; the
// maker's parent keys go too when nothing else is left in them.
void RemoveRegistrations();
// The product's "Configure" key, the product key and the maker's parent keys,
// each when nothing is left in it.
void DeleteEmptyParentKeys();
// The entry's "InstallLocation" into `folder` (size bytes); false when there is none.
bool ReadInstallLocation(char* folder, size_t size);
// Deletes the entry only.
void RemoveUninstallEntry();

// Deletes `path` under HKEY_CURRENT_USER with all its sub-keys. 1 when gone.
int DeleteRegistryTree(const char* path);

// Kilobytes taken by the files directly in `folder`, rounded up per file.
unsigned long FolderSizeKilobytes(const char* folder);

// Where the programs' libraries may come from: the system folder only.
#pragma once

// Takes the program's own folder and the working folder out of the library
// search, so a library planted beside the program (a download folder, the
// uninstaller's temporary folder) is never loaded by name. Uses
// SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) where the system has
// it (Windows 8, or 7 and Vista with KB2533623), else SetDllDirectoryA(""),
// which at least drops the working folder. Needs nothing of the C runtime.
void RestrictLibrarySearch();

// The shipping programs' entry point: the restriction first, before the C
// runtime's start-up and any static constructor, then the runtime's own entry.
extern "C" int ProgramEntry(void);

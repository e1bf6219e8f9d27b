// Decisions of the installer that need no Windows: what its command line asks
// for, and what an uninstall that left something behind must do and say.
// Portable: no <windows.h>.
#pragma once
#include <cstddef>

// Exit codes of qtrasx.exe; package managers and scripts read them.
enum InstallerExitCode {
  kExitSuccess = 0,
  kExitCancelled = 1,             // the user stopped it, or it did not run
  kExitBadArgument = 2,           // an unknown switch, or one out of place
  kExitFolderNotCreatable = 3,    // the program folder could not be made or used
  kExitFileNotWritable = 4,       // a file of the program could not be written
  kExitConverterStillOpen = 5,    // the running converter would not close
  kExitFolderNotRemoved = 6,      // an uninstall left the folder or files behind
  kExitNotInstalled = 7,          // an uninstall found no installation to remove
  kExitFolderNotNameable = 8,     // a folder's name has letters this Windows cannot give the program
};

enum InstallerAction {
  kActionInstall,
  kActionUninstallRelay,  // the installed uninstaller hands over to a copy
  kActionUninstall,       // the copy does the work
  kActionBadArgument,
};

const size_t kSwitchFolderSize = 261;

struct InstallerCommand {
  InstallerAction action;
  bool silent;
  char folder[kSwitchFolderSize];  // from "/D=", empty when not given
  // A bad argument: where the word that does not fit its place lies in the line.
  size_t badAt;
  size_t badLength;
};

// Reads the words after the program name. Words compare without case. "/S"
// anywhere makes a run silent, even on a line that is otherwise bad.
// "/D=<folder>" must come last and takes the rest of the line, spaces included;
// one pair of quotes around the folder (or around the whole switch) is dropped
// and forward slashes become backslashes. It names the folder of a silent
// install, or (from the uninstall relay) the installation its copy removes.
// Any other word beginning with "/" is a bad argument. The one word
// "UnInstall" or "UnInstall2", before or after the switches, selects that
// stage; any other words start the ordinary installation, as they always have.
InstallerCommand ParseInstallerCommand(const char* line);

// The files of ours that may lie in a program folder: the payload, the files
// the converter writes there, the shortcut step's temporary file, and the
// payload's staged and backed-up forms that an interrupted run leaves.
// Letters compare without case.
extern const char* const kStagedSuffix;  // a new file, complete but not yet in place
extern const char* const kBackupSuffix;  // the file it replaces, until the run succeeds
bool IsOurProgramFile(const char* name);

struct FolderEntryName {
  const char* name;
  bool isFolder;
};

enum FolderContents {
  kContentsEmpty,
  kContentsOurs,     // only files of ours: an earlier installation
  kContentsForeign,  // anything else, a sub-folder included
};

FolderContents JudgeFolderContents(const FolderEntryName* entries, size_t count);

enum UninstallResult {
  kUninstallComplete,     // the folder is gone
  kUninstallFolderKept,   // everything of ours is gone but the empty folder
  kUninstallFilesKept,    // files of ours remain in the folder
  kUninstallOthersKept,   // everything of ours is gone; the folder stays for the files that are not ours
};

struct UninstallOutcome {
  UninstallResult result;
  bool removeEntry;     // the system's uninstall entry
  bool removeSettings;  // the product's settings key
};

// While files of ours remain the entry stays, so that the uninstall can be run
// again, but only when the uninstaller it names is still there to run. Files
// that are not ours are never deleted, and do not keep the entry.
UninstallOutcome JudgeUninstall(bool folderGone, bool oursLeft, bool othersLeft, bool uninstallerLeft);

// The final message of an uninstall into `out` (size bytes). `left` lists what
// remains, one name a line. False when it does not fit.
bool FormatUninstallReport(const UninstallOutcome& outcome, const char* product, const char* folder,
                           const char* left, char* out, size_t size);

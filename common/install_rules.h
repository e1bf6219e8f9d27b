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
};

// Reads the words after the program name. Words compare without case. "/S"
// makes a run silent; "/D=<folder>" (installs only, silent only) must come last
// and takes the rest of the line, spaces included. Any other word beginning
// with "/" is a bad argument (silent when "/S" was given); other words start the ordinary installation, as
// they always have.
InstallerCommand ParseInstallerCommand(const char* line);

enum UninstallResult {
  kUninstallComplete,     // the folder is gone
  kUninstallFolderKept,   // everything of ours is gone but the empty folder
  kUninstallFilesKept,    // files remain in the folder
};

struct UninstallOutcome {
  UninstallResult result;
  bool removeEntry;     // the system's uninstall entry
  bool removeSettings;  // the product's settings key
};

// While files remain the entry stays, so that the uninstall can be run again,
// but only when the uninstaller it names is still there to run.
UninstallOutcome JudgeUninstall(bool folderGone, bool anythingLeft, bool uninstallerLeft);

// The final message of an uninstall into `out` (size bytes). `left` lists what
// remains, one name a line. False when it does not fit.
bool FormatUninstallReport(const UninstallOutcome& outcome, const char* product, const char* folder,
                           const char* left, char* out, size_t size);

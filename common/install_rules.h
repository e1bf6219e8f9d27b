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
  kExitInstallInProgress = 9,     // another installation or uninstall of the program is running
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

// How a file of the program folder comes to be there.
enum ProgramFileOrigin {
  kFromResource,        // the installer writes it from its resource of the same row
  kInstallerCopy,       // the installer copies itself: the uninstaller
  kWrittenByConverter,  // the converter writes it while it runs
  kShortcutScratch,     // the shortcut step saves each link here before moving it into place
};

// One row per file of the program folder. The installer writes the payload
// (the first kPayloadFileCount rows, in this order); every row is ours when
// the uninstall or a folder judgement meets it.
struct ProgramFile {
  const char* name;
  unsigned short resourceId;  // RT_RCDATA; 0 when the file is not written from a resource
  const char* icon;           // the file whose icon its shortcut shows; null when it has no shortcut
  ProgramFileOrigin origin;
};
extern const ProgramFile kProgramFiles[];
extern const size_t kProgramFileCount;
extern const size_t kPayloadFileCount;
// The row of `name` (letters compare without case), or null.
const ProgramFile* FindProgramFile(const char* name);
// The progress bars shown once payload file `step` (1 to kPayloadFileCount) is written.
int ProgressBarsForStep(size_t step);

// The files of ours that may lie in a program folder: the rows above, and the
// payload's staged and backed-up forms that an interrupted run leaves.
// Letters compare without case.
extern const char* const kStagedSuffix;  // a new file, complete but not yet in place
extern const char* const kBackupSuffix;  // the file it replaces, until the run succeeds
bool IsOurProgramFile(const char* name);

// Files Explorer itself writes into any folder it shows (its view settings and
// thumbnails). They belong to no one's program: a folder holding only them
// counts as empty, and an uninstall that leaves nothing else removes them too.
bool IsExplorerFile(const char* name);

struct FolderEntryName {
  const char* name;
  bool isFolder;
};

enum FolderContents {
  kContentsEmpty,     // nothing, or only Explorer's files
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

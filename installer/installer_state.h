// The installer's process-wide state: one instance, plain global storage.
#pragma once
#include "common/product.h"
#include <windows.h>

const size_t kPathSize = MAX_PATH + 1;          // 260 characters and the terminator
const size_t kMaxTargetLength = 236;             // longest folder accepted for installing
const char kInstallCaption[] = QTRA_PRODUCT_NAME " Installation";

// Posted to the backdrop to run a sequence once its window is up.
const UINT ID_INSTALL_START = 32771;
const UINT ID_UNINSTALL_START = 32772;

struct InstallerState {
  char commandLine[512];
  char defaultUpgradeFolder[26];  // "?:\Program Files\QUANTARA"
  char shortPathFolder[8];        // "C:\qtra"
  char targetFolder[kPathSize];
  char sourceFolder[kPathSize];
  char programDir[kPathSize];
  char sourcePath[kPathSize];     // empty: the file comes from a resource
  char destinationPath[kPathSize];
  char messageText[512];
  int mode;                       // the chosen installation mode; 0 while none
  unsigned long converterWindow;  // as last read from "TransHandle"; 0 = none
  HCURSOR savedCursor;
  bool silent;                    // no window and no message box: messages go to the log
  int exitCode;                   // an InstallerExitCode
};

extern InstallerState g_state;

// Fills the two folders that carry the Windows drive letter.
void InitDriveFolders();
// The first character of the Windows folder, upper-cased.
char WindowsDriveLetter();

// Message boxes of the installer: the text is formatted into g_state.messageText.
// A silent run logs the text instead and answers IDOK.
int ShowMessage(HWND owner, const char* caption, UINT flags, const char* format, ...);

// The log of a silent run: {temporary folder}\qtrasx.log, one line per step.
// StartLog empties it (a new run) or appends to it (the uninstall's copy goes
// on where its relay stopped).
void StartLog(bool fresh);
// One line of a silent run's log; nothing when the run has windows.
void LogStep(const char* format, ...);

// The pauses that let the backdrop and the pages repaint between steps. A
// silent run has nothing to show and goes straight on.
void PauseForPage(unsigned long milliseconds);

// Wait cursor on and off, remembering the cursor it replaced.
void BeginWaitCursor();
void EndWaitCursor();

// True when `path` names an existing file or folder.
bool PathExists(const char* path);
// folder + "\" + name into `out` (kPathSize); false, with `out` empty, when it does not fit.
bool JoinPath(char* out, const char* folder, const char* name);
// {folder}\{name}{suffix} into `out` (kPathSize); false when it does not fit.
bool JoinSuffixed(char* out, const char* folder, const char* name, const char* suffix);

// Grey dialog background and black text for the installer's pages.
LRESULT DialogColours(WPARAM dc);

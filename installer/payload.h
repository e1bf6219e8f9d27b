// Writing the program's files into the target folder: seven embedded files and,
// last, a copy of the installer itself that later serves as uninstaller.
#pragma once
#include <windows.h>

// The files themselves are the first kPayloadFileCount rows of kProgramFiles
// (common/install_rules.h).

// Shows the first `bars` bars in the page's progress text and lets it repaint;
// a silent run has no page and does not wait.
void ShowProgress(HWND page, int bars);

// Writes one file: from g_state.sourcePath when it is set, else from resource
// `resourceId`, into `writePath` (the temporary name of g_state.destinationPath,
// which the page and the messages show). 1 written; 0 after a message.
int InstallOneFile(HWND page, WORD resourceId, const char* writePath);

// The one report of a file that could not be written: names the destination,
// the source when copying from a file (else `source` is empty), and what to check.
void ReportNotCopied(HWND owner, const char* source, const char* destination);

// A file of the program that is read-only: named so, and what to do about it.
void ReportReadOnly(HWND owner, const char* path);
// A file of the program that could not be moved into place: read-only, or in
// use; the permissions advice follows.
void ReportNotReplaced(HWND owner, const char* path);

// Copies `source` to `destination` (created or truncated); with keepTime the
// copy gets the source's last-write time. 1 copied, 0 failed; no messages.
int CopyFileKeepTime(const char* source, const char* destination, int keepTime);

// Writes what the system still caches of the file at `path` to the disk.
// False when it cannot: the file may then not survive a power cut.
bool FlushFileToDisk(const char* path);

// Shown after any failure to write into the folder.
void ShowPermissionsAdvice(HWND owner);

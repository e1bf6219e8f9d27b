// What an installation or an uninstall that has begun is doing, recorded under
// the product's key before it changes anything. A run that was ended half-way
// (Task Manager, a power cut) is finished or rolled back by the next run of any
// copy of the installer, so one installation, whole, remains.
#pragma once
#include <windows.h>

#include "installer/installer_state.h"

enum OperationKind { kNoOperation, kInstallOperation, kUninstallOperation };

// What an installation did to one file of the program folder.
enum FileChange { kFileUntouched, kFileCreated, kFileReplaced };

struct OperationRecord {
  OperationKind kind;
  char from[kPathSize];  // install: the earlier installation's folder, empty when none; uninstall: the folder removed
  char to[kPathSize];    // install: the folder installed into
  char made[kPathSize];  // install: the highest folder level it made, empty when none
  bool done;             // install: every step is in place, only the clean-up remains
  // Install: what this run began to change, each noted before the change.
  bool programDirWritten;            // "ThisProgramDir", whose earlier value follows
  bool hadProgramDir;
  char programDirBefore[kPathSize];
  bool linksBegun;                   // the links and the group
  bool entryBegun;                   // the uninstall entry: from then on the run is finished, not undone
};

// Starts a record (an earlier one is replaced). False when it cannot be
// written: then nothing may begin.
bool WriteOperationRecord(OperationKind kind, const char* from, const char* to);
void RecordMadeFolder(const char* made);
// Notes in the record, before the change itself, what this run is about to
// change; false when the note cannot be written, and then the change may not
// begin. A file: created (nothing of that name was there) or replaced (its
// backup is this run's).
bool NoteFileChange(const char* name, FileChange change);
bool NoteProgramDirWritten(const char* before, bool had);
bool NoteLinksBegun();
bool NoteEntryBegun();
// The file's change as the record of the run under way notes it.
FileChange RecordedFileChange(const char* name);
// Every step is in place; the record is flushed to the disk, so that what the
// clean-up deletes next is never all a power cut leaves.
void MarkOperationDone();
// False when no operation is recorded (or the record is not whole).
bool ReadOperationRecord(OperationRecord* record);
void ClearOperationRecord();

// The installation's empty folder levels up to `made`, from `folder` upwards;
// each only while it is empty and lies inside `made`.
void RemoveEmptyLevels(const char* folder, const char* made);

// Finishes or rolls back the recorded operation. An uninstall that is under
// way is left to `uninstalling` runs, which carry it on themselves. A running
// converter is closed first. What cannot be completed (a file in use) keeps
// the record for the next run and is told; kExitSuccess or the exit code.
int CompleteInterruptedOperation(HWND owner, bool uninstalling);
// The clean-up of the recorded installation once all its steps are in place.
// False when something could not be removed: the record stays for the next
// run, and `left` (size bytes) names what remains.
bool FinishRecordedInstall(HWND owner, char* left, size_t size);

// Under "Configure": the highest folder level the installation made, which its
// uninstall removes too once empty.
extern const char kMadeFolderValue[];

// What an installation or an uninstall that has begun is doing, recorded under
// the product's key before it changes anything. A run that was ended half-way
// (Task Manager, a power cut) is finished or rolled back by the next run of any
// copy of the installer, so one installation, whole, remains.
#pragma once
#include <windows.h>

#include "installer/installer_state.h"

enum OperationKind { kNoOperation, kInstallOperation, kUninstallOperation };

struct OperationRecord {
  OperationKind kind;
  char from[kPathSize];  // install: the earlier installation's folder, empty when none; uninstall: the folder removed
  char to[kPathSize];    // install: the folder installed into
  char made[kPathSize];  // install: the highest folder level it made, empty when none
  bool done;             // install: every step is in place, only the clean-up remains
};

// Starts a record (an earlier one is replaced). False when it cannot be
// written: then nothing may begin.
bool WriteOperationRecord(OperationKind kind, const char* from, const char* to);
void RecordMadeFolder(const char* made);
void MarkOperationDone();
// False when no operation is recorded (or the record is not whole).
bool ReadOperationRecord(OperationRecord* record);
void ClearOperationRecord();

// The installation's empty folder levels up to `made`, from `folder` upwards;
// each only while it is empty and lies inside `made`.
void RemoveEmptyLevels(const char* folder, const char* made);

// Finishes or rolls back the recorded operation. An uninstall that is under
// way is left to `uninstalling` runs, which carry it on themselves.
void CompleteInterruptedOperation(HWND owner, bool uninstalling);
// The clean-up of the recorded installation once all its steps are in place.
void FinishRecordedInstall(HWND owner);

// Under "Configure": the highest folder level the installation made, which its
// uninstall removes too once empty.
extern const char kMadeFolderValue[];

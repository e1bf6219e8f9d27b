#include "installer/operation_record.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "common/install_rules.h"
#include "common/paths.h"
#include "common/registry.h"
#include "common/strings.h"
#include "installer/folder_identity.h"
#include "installer/folders.h"
#include "installer/install_modes.h"
#include "installer/shortcuts.h"
#include "installer/uninstall_entry.h"

const char kMadeFolderValue[] = "MadeFolder";

namespace {
const std::string kRecordKey = std::string(ProductRegKey) + "\\Operation";
const char* const kKindNames[] = {"", "install", "uninstall"};

bool SetRecordText(const char* name, const char* text) {
  HKEY key = nullptr;
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, kRecordKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const bool set = ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                                    static_cast<DWORD>(strlen(text) + 1)) == ERROR_SUCCESS;
  ::RegCloseKey(key);
  return set;
}

// A value of the record, whole or not at all: a cut folder could name another.
bool GetRecordText(HKEY key, const char* name, char* out) {
  DWORD type = 0;
  DWORD bytes = kPathSize;
  out[0] = '\0';
  if (::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(out), &bytes) != ERROR_SUCCESS ||
      type != REG_SZ || bytes == 0 || out[bytes - 1] != '\0') {
    out[0] = '\0';
    return false;
  }
  return true;
}

void DeleteConfigureValue(const char* name) {
  HKEY key = nullptr;
  const std::string configure = std::string(ProductRegKey) + "\\" + kConfigureKey;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, configure.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  ::RegDeleteValueA(key, name);
  ::RegCloseKey(key);
}

// The installation that was interrupted before it was whole: its staged files
// go, the files it replaced come back, a new folder goes with the levels it
// made, and the records and links name the earlier installation again.
void RollBackInstall(HWND owner, const OperationRecord& record) {
  const bool sameFolder = record.from[0] != '\0' && IsSameFolderOnDisk(record.from, record.to);
  LogStep("Rolling back the installation into %s that was ended half-way", record.to);
  for (size_t i = 0; i < kPayloadFileCount; ++i) {
    char final[kPathSize];
    char staged[kPathSize];
    char backup[kPathSize];
    if (!JoinPath(final, record.to, kProgramFiles[i].name) ||
        !JoinSuffixed(staged, record.to, kProgramFiles[i].name, kStagedSuffix) ||
        !JoinSuffixed(backup, record.to, kProgramFiles[i].name, kBackupSuffix)) {
      continue;
    }
    DeleteOurFile(staged);
    if (PathExists(backup)) {
      ::SetFileAttributesA(final, FILE_ATTRIBUTE_NORMAL);
      ::MoveFileExA(backup, final, MOVEFILE_REPLACE_EXISTING);
    } else if (!sameFolder) {
      DeleteOurFile(final, true);
    }
  }
  char scratch[kPathSize];
  if (JoinPath(scratch, record.to, kShortcutTempFileName)) DeleteOurFile(scratch);
  if (!sameFolder) RemoveEmptyLevels(record.to, record.made[0] != '\0' ? record.made : record.to);
  if (record.from[0] != '\0' && HoldsConverter(record.from)) {
    WriteRegString(kConfigureKey, kProgramDirValue, record.from, ProductRegKey);
    WriteUninstallEntry(record.from);
    CopyStringBounded(g_state.targetFolder, record.from, sizeof g_state.targetFolder);
    CreateAllShortcuts(owner, record.from);
  } else {
    DeleteConfigureValue(kProgramDirValue);
    RemoveUninstallEntry();
    RemoveAllShortcuts(owner);
  }
}

// Every step was in place: the files it replaced go, and so does an earlier
// installation in another folder, with the levels that one made.
void FinishInstall(HWND owner, const OperationRecord& record) {
  LogStep("Finishing the installation into %s", record.to);
  for (size_t i = 0; i < kPayloadFileCount; ++i) {
    char backup[kPathSize];
    if (JoinSuffixed(backup, record.to, kProgramFiles[i].name, kBackupSuffix)) DeleteOurFile(backup);
  }
  char scratch[kPathSize];
  if (JoinPath(scratch, record.to, kShortcutTempFileName)) DeleteOurFile(scratch);
  RemoveOtherShortcuts(owner);
  const bool moved = record.from[0] != '\0' && !IsSameFolderOnDisk(record.from, record.to);
  char made[kPathSize] = {};
  ReadRegString(kConfigureKey, kMadeFolderValue, nullptr, made, sizeof made, ProductRegKey);
  if (moved) {
    LogStep("Removing the earlier installation in %s", record.from);
    if (RemoveProgramFiles(record.from, true) && made[0] != '\0') RemoveEmptyLevels(record.from, made);
  }
  if (record.made[0] != '\0') {
    WriteRegString(kConfigureKey, kMadeFolderValue, record.made, ProductRegKey);
  } else if (moved || record.from[0] == '\0') {
    DeleteConfigureValue(kMadeFolderValue);
  }
  ClearOperationRecord();
}
}  // namespace

bool WriteOperationRecord(OperationKind kind, const char* from, const char* to) {
  DeleteRegistryTree(kRecordKey.c_str());
  // The kind goes last: a record without it was never begun.
  return SetRecordText("From", from) && SetRecordText("To", to) && SetRecordText("Kind", kKindNames[kind]);
}

void RecordMadeFolder(const char* made) { SetRecordText("Made", made); }

void MarkOperationDone() { SetRecordText("Done", "1"); }

bool ReadOperationRecord(OperationRecord* record) {
  record->kind = kNoOperation;
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, kRecordKey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  char kind[kPathSize];
  char done[kPathSize];
  const bool whole = GetRecordText(key, "Kind", kind) && GetRecordText(key, "From", record->from) &&
                     GetRecordText(key, "To", record->to);
  GetRecordText(key, "Made", record->made);
  record->done = GetRecordText(key, "Done", done) && strcmp(done, "1") == 0;
  ::RegCloseKey(key);
  if (!whole) return false;
  for (int i = kInstallOperation; i <= kUninstallOperation; ++i) {
    if (strcmp(kind, kKindNames[i]) == 0) record->kind = static_cast<OperationKind>(i);
  }
  return record->kind != kNoOperation;
}

void ClearOperationRecord() {
  DeleteRegistryTree(kRecordKey.c_str());
  DeleteEmptyParentKeys();
}

void RemoveEmptyLevels(const char* folder, const char* made) {
  std::string level = folder;
  while (!level.empty() && IsInsideFolderOnDisk(level.c_str(), made) && !IsRootPath(level.c_str())) {
    if (!::RemoveDirectoryA(level.c_str()) && PathExists(level.c_str())) return;
    const size_t cut = level.rfind('\\');
    if (cut == std::string::npos) return;
    level.resize(cut);
  }
}

void CompleteInterruptedOperation(HWND owner, bool uninstalling) {
  OperationRecord record = {};
  if (!ReadOperationRecord(&record)) {
    ClearOperationRecord();  // a record that was never begun whole
    return;
  }
  if (record.kind == kUninstallOperation) {
    if (uninstalling) return;
    LogStep("Finishing the uninstall of %s that was ended half-way", record.from);
    char made[kPathSize] = {};
    ReadRegString(kConfigureKey, kMadeFolderValue, nullptr, made, sizeof made, ProductRegKey);
    if (RemoveProgramFiles(record.from, true) && made[0] != '\0') RemoveEmptyLevels(record.from, made);
    RemoveAllShortcuts(owner);
    RemoveRegistrations();
    return;
  }
  // The entry is written last: once it names a new folder, the installation was whole.
  char location[kPathSize];
  const bool newFolder = record.from[0] == '\0' || !IsSameFolderOnDisk(record.from, record.to);
  const bool entryMoved = newFolder && ReadInstallLocation(location, sizeof location) && IsSameFolderOnDisk(location, record.to);
  if (!record.done && !entryMoved) {
    RollBackInstall(owner, record);
    ClearOperationRecord();
    return;
  }
  FinishInstall(owner, record);
}

void FinishRecordedInstall(HWND owner) {
  OperationRecord record = {};
  if (ReadOperationRecord(&record) && record.kind == kInstallOperation) FinishInstall(owner, record);
}

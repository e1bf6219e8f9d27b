#include "installer/operation_record.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "common/file_safety.h"
#include "common/install_rules.h"
#include "common/paths.h"
#include "common/registry.h"
#include "common/strings.h"
#include "installer/converter_closing.h"
#include "installer/folder_identity.h"
#include "installer/folders.h"
#include "installer/install_modes.h"
#include "installer/shortcuts.h"
#include "installer/uninstall_entry.h"
#include "installer/uninstall_steps.h"

const char kMadeFolderValue[] = "MadeFolder";

namespace {
const std::string kRecordKey = std::string(ProductRegKey) + "\\Operation";
const char* const kKindNames[] = {"", "install", "uninstall"};

// The files' changes lie in a key of their own, one value a file.
const std::string kFilesKey = kRecordKey + "\\Files";

bool SetRecordText(const char* name, const char* text, const std::string& keyPath = kRecordKey) {
  HKEY key = nullptr;
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
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

// Names that remain after a clean-up, one a line, into a bounded list.
class LeftList {
 public:
  LeftList(char* out, size_t size) : m_out(out), m_size(size) {
    if (size > 0) out[0] = '\0';
  }
  void Add(const char* path) {
    m_any = true;
    if (m_full) return;
    const size_t used = strlen(m_out);
    const int written = snprintf(m_out + used, m_size - used, "%s%s", used > 0 ? "\n" : "", path);
    // A list that does not fit says that it goes on.
    if (written < 0 || used + static_cast<size_t>(written) + 5 > m_size) {
      m_out[used] = '\0';
      snprintf(m_out + used, m_size - used, "%s...", used > 0 ? "\n" : "");
      m_full = true;
    }
  }
  void AddIfThere(const char* path) {
    if (PathExists(path)) Add(path);
  }
  bool Any() const { return m_any; }

 private:
  char* m_out;
  size_t m_size;
  bool m_any = false;
  bool m_full = false;
};

// The installation that was interrupted before it was whole: what this run
// created goes, what it replaced comes back from its own backups, the levels
// it made go, and the records and links it had begun to change name the
// earlier installation again. The uninstall entry was not yet written: it
// stays as it is. Whatever cannot be put back is listed in `left`.
void RollBackInstall(HWND owner, const OperationRecord& record, LeftList* left) {
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
    left->AddIfThere(staged);
    const FileChange change = RecordedFileChange(kProgramFiles[i].name);
    if (change == kFileReplaced && PathExists(backup)) {
      // The shell may hold the new file for a moment, reading a new link's icon from it.
      DeleteOurFile(final, true);
      if (PathExists(final) || !::MoveFileA(backup, final)) left->Add(final);
    } else if (change == kFileCreated) {
      DeleteOurFile(final, true);
      left->AddIfThere(final);
    }
  }
  char scratch[kPathSize];
  if (record.linksBegun && JoinPath(scratch, record.to, kShortcutTempFileName)) DeleteOurFile(scratch);
  if (record.made[0] != '\0') RemoveEmptyLevels(record.to, record.made);
  if (record.programDirWritten) {
    if (record.hadProgramDir) {
      WriteRegString(kConfigureKey, kProgramDirValue, record.programDirBefore, ProductRegKey);
    } else {
      DeleteConfigureValue(kProgramDirValue);
      DeleteEmptyParentKeys();
    }
  }
  if (!record.linksBegun) return;
  if (record.from[0] != '\0' && HoldsConverter(record.from)) {
    CopyStringBounded(g_state.targetFolder, record.from, sizeof g_state.targetFolder);
    CreateAllShortcuts(owner, record.from);
  } else {
    RemoveAllShortcuts(owner);
  }
}

// Every step was in place: the files it replaced go, and so does an earlier
// installation in another folder, with the levels that one made. What will not
// go is listed in `left`, and the record stays for the next run.
void FinishInstall(HWND owner, const OperationRecord& record, LeftList* left) {
  LogStep("Finishing the installation into %s", record.to);
  if (!record.done) {
    // Ended while the entry was written: it is written whole, then marked so.
    WriteUninstallEntry(record.to);
    MarkOperationDone();
  }
  for (size_t i = 0; i < kPayloadFileCount; ++i) {
    char backup[kPathSize];
    if (RecordedFileChange(kProgramFiles[i].name) != kFileReplaced ||
        !JoinSuffixed(backup, record.to, kProgramFiles[i].name, kBackupSuffix)) {
      continue;
    }
    DeleteOurFile(backup, true);
    left->AddIfThere(backup);
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
    // Files of ours that would not go (a program holds them) are what is left
    // of it; an entry leading elsewhere is never followed, and stays by design.
    ForEachFolderEntry(record.from, [&](const WIN32_FIND_DATAA& entry) {
      char path[kPathSize];
      if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsOurProgramFile(entry.cFileName) &&
          JoinPath(path, record.from, entry.cFileName) && !LeadsOutside(path, record.from)) {
        left->Add(path);
      }
      return true;
    });
  }
  if (left->Any()) return;
  if (record.made[0] != '\0') {
    WriteRegString(kConfigureKey, kMadeFolderValue, record.made, ProductRegKey);
  } else if (moved || record.from[0] == '\0') {
    DeleteConfigureValue(kMadeFolderValue);
  }
  ClearOperationRecord();
}

// An uninstall that was ended half-way is finished while the installation
// registered is still the one it names, or none is. An installer that knows
// no record (the previous release) may have registered another since: its
// entry, links and settings stay, and only our files left in the recorded
// folder go.
void FinishOrDropUninstall(HWND owner, const OperationRecord& record) {
  char registered[kPathSize] = {};
  char location[kPathSize] = {};
  ReadRegString(kConfigureKey, kProgramDirValue, nullptr, registered, sizeof registered, ProductRegKey);
  TrimTrailingBackslashes(registered);
  ReadInstallLocation(location, sizeof location);
  // The recorded folder may be gone already: its own name names it too.
  const auto another = [&](const char* folder) {
    return folder[0] != '\0' && _stricmp(folder, record.from) != 0 && !IsSameFolderOnDisk(folder, record.from);
  };
  const char* other = another(registered) ? registered : another(location) ? location : nullptr;
  char made[kPathSize] = {};
  ReadRegString(kConfigureKey, kMadeFolderValue, nullptr, made, sizeof made, ProductRegKey);
  // The made folder that the settings keep belongs to the recorded folder, never to another's.
  const bool madeForRecorded = made[0] != '\0' && IsInsideFolderOnDisk(record.from, made);
  if (record.made[0] != '\0') CopyStringBounded(made, record.made, sizeof made);
  if (other != nullptr) {
    LogStep("Dropping the uninstall of %s that was ended half-way: %s is installed now", record.from, other);
    if (madeForRecorded) DeleteConfigureValue(kMadeFolderValue);
    if (!madeForRecorded && record.made[0] == '\0') made[0] = '\0';
    if (RemoveProgramFiles(record.from, true)) RemoveUninstalledLevels(record.from, made);
    ClearOperationRecord();
    return;
  }
  LogStep("Finishing the uninstall of %s that was ended half-way", record.from);
  if (RemoveProgramFiles(record.from, true)) RemoveUninstalledLevels(record.from, made);
  RemoveAllShortcuts(owner);
  RemoveRegistrations();
}

const char* const kChangeNames[] = {"", "created", "replaced"};

void FlushRecord() {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, kRecordKey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return;
  ::RegFlushKey(key);
  ::RegCloseKey(key);
}
}  // namespace

bool WriteOperationRecord(OperationKind kind, const char* from, const char* to) {
  DeleteRegistryTree(kRecordKey.c_str());
  // The kind goes last: a record without it was never begun.
  return SetRecordText("From", from) && SetRecordText("To", to) && SetRecordText("Kind", kKindNames[kind]);
}

void RecordMadeFolder(const char* made) { SetRecordText("Made", made); }

void MarkOperationDone() {
  SetRecordText("Done", "1");
  FlushRecord();
}

bool NoteFileChange(const char* name, FileChange change) { return SetRecordText(name, kChangeNames[change], kFilesKey); }

bool NoteProgramDirWritten(const char* before, bool had) {
  return (!had || SetRecordText("ProgramDirBefore", before)) && SetRecordText("ProgramDirWritten", "1");
}

bool NoteLinksBegun() { return SetRecordText("Links", "1"); }

bool NoteEntryBegun() { return SetRecordText("Entry", "1"); }

FileChange RecordedFileChange(const char* name) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, kFilesKey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return kFileUntouched;
  }
  char text[kPathSize];
  FileChange change = kFileUntouched;
  if (GetRecordText(key, name, text)) {
    for (int i = kFileCreated; i <= kFileReplaced; ++i) {
      if (strcmp(text, kChangeNames[i]) == 0) change = static_cast<FileChange>(i);
    }
  }
  ::RegCloseKey(key);
  return change;
}

bool ReadOperationRecord(OperationRecord* record) {
  record->kind = kNoOperation;
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, kRecordKey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  char kind[kPathSize];
  char flag[kPathSize];
  const bool whole = GetRecordText(key, "Kind", kind) && GetRecordText(key, "From", record->from) &&
                     GetRecordText(key, "To", record->to);
  GetRecordText(key, "Made", record->made);
  record->done = GetRecordText(key, "Done", flag) && strcmp(flag, "1") == 0;
  record->programDirWritten = GetRecordText(key, "ProgramDirWritten", flag);
  record->hadProgramDir = GetRecordText(key, "ProgramDirBefore", record->programDirBefore);
  record->linksBegun = GetRecordText(key, "Links", flag);
  record->entryBegun = GetRecordText(key, "Entry", flag);
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

int CompleteInterruptedOperation(HWND owner, bool uninstalling) {
  OperationRecord record = {};
  if (!ReadOperationRecord(&record)) {
    ClearOperationRecord();  // a record that was never begun whole
    return kExitSuccess;
  }
  if (record.kind == kUninstallOperation) {
    if (!uninstalling) FinishOrDropUninstall(owner, record);
    return kExitSuccess;
  }
  // A converter started in between holds its file: it is closed before any file is put back.
  if (!CloseRunningConverter(owner)) {
    ShowMessage(owner, kInstallCaption, MB_ICONERROR,
                "An installation of %s into:\n%s\nwas ended half-way and can not be completed while %s runs.\n\n"
                "Close %s, then start the installer again.",
                kProductName, record.to, kProductName, kProductName);
    LogStep("Failed (exit code %d): the running converter did not close", kExitConverterStillOpen);
    return kExitConverterStillOpen;
  }
  char text[1024];
  LeftList left(text, sizeof text);
  // From the entry on, the installation is whole: it is finished, not undone.
  const bool whole = record.done || record.entryBegun;
  if (whole) {
    FinishInstall(owner, record, &left);
  } else {
    RollBackInstall(owner, record, &left);
    if (!left.Any()) ClearOperationRecord();
  }
  if (!left.Any()) return kExitSuccess;
  ShowMessage(owner, kInstallCaption, MB_ICONERROR,
              "An installation of %s into:\n%s\nwas ended half-way. It could not be %s, as these files are in "
              "use:\n%s\n\nClose the programs using them, then start the installer again.",
              kProductName, record.to, whole ? "completed" : "undone", text);
  LogStep("Failed (exit code %d): the installation ended half-way could not be %s", kExitFileNotWritable,
          whole ? "completed" : "undone");
  return kExitFileNotWritable;
}

bool FinishRecordedInstall(HWND owner, char* left, size_t size) {
  LeftList list(left, size);
  OperationRecord record = {};
  if (ReadOperationRecord(&record) && record.kind == kInstallOperation) FinishInstall(owner, record, &list);
  return !list.Any();
}

#include "installer/install_plan.h"

#include <direct.h>

#include <cstdio>
#include <cstring>

#include "common/file_safety.h"
#include "common/install_rules.h"
#include "common/registry.h"
#include "common/strings.h"
#include "common/ui_helpers.h"
#include "installer/folders.h"
#include "installer/installer_state.h"
#include "installer/payload.h"
#include "installer/shortcuts.h"
#include "installer/uninstall_entry.h"
#include "installer/uninstall_steps.h"
#include "resource.h"

CInstallPlan g_plan;

namespace {

// {folder}\{name}{suffix} into `out` (kPathSize); false when it does not fit.
bool JoinWithSuffix(char* out, const char* folder, const char* name, const char* suffix) {
  char full[kPathSize];
  return snprintf(full, sizeof full, "%s%s", name, suffix) < static_cast<int>(sizeof full) &&
         JoinPath(out, folder, full);
}

// Deletes a file of ours, read-only or not.
void DeleteOurFile(const char* path) {
  if (!PathExists(path)) return;
  ::SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
  ::DeleteFileA(path);
}

struct SavedValue {
  std::string name;
  DWORD type;
  std::string data;
};

bool ReadFileWhole(const char* path, std::string* bytes) {
  HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const DWORD size = ::GetFileSize(file, nullptr);
  bool read = size != INVALID_FILE_SIZE && size <= 1024 * 1024;
  if (read) {
    bytes->resize(size);
    DWORD got = 0;
    read = size == 0 || (::ReadFile(file, &(*bytes)[0], size, &got, nullptr) && got == size);
  }
  ::CloseHandle(file);
  return read;
}

void WriteFileWhole(const char* path, const std::string& bytes) {
  HANDLE file = ::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  if (!bytes.empty()) ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
}
}  // namespace

int CInstallPlan::CheckFolder(HWND owner, const char* folder, char* full, const char** reason) {
  const char* why = nullptr;
  const char* tail = nullptr;
  switch (CheckProgramFolder(folder, full)) {
    case kFolderUsable:
      break;
    case kFolderIsRelative:
      why = "the folder is not a full path";
      tail = "is not a full path. Please give the whole path of the folder, beginning with its drive (for example "
             "C:\\Tools\\%s).";
      break;
    case kFolderIsNetwork:
      why = "the folder is a network folder";
      tail = "is a network folder. %s is installed on a drive of this computer: please select a local folder.";
      break;
    case kFolderIsRoot:
      why = "the folder is the root of a drive";
      tail = "is the root of a drive. Please select a folder of its own for %s.";
      break;
    case kFolderIsProtected:
      why = "the folder is a folder of Windows, of the programs or of a user, or holds one";
      tail = "is a folder of Windows, of the programs or of a user, or holds one of them.\n\nPlease select a folder "
             "of its own for %s.";
      break;
  }
  if (why == nullptr && strlen(full) > kMaxTargetLength) {
    *reason = "the folder's path is too long";
    ShowMessage(owner, kInstallCaption, MB_ICONERROR, "%s", "The Path you Specified is to long.");
    return kExitFolderNotCreatable;
  }
  if (why == nullptr) {
    std::vector<std::string> names;
    std::vector<bool> folders;
    ForEachFolderEntry(full, [&](const WIN32_FIND_DATAA& entry) {
      names.push_back(entry.cFileName);
      folders.push_back((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
      return true;
    });
    std::vector<FolderEntryName> entries;
    for (size_t i = 0; i < names.size(); ++i) entries.push_back({names[i].c_str(), folders[i]});
    if (JudgeFolderContents(entries.data(), entries.size()) == kContentsForeign) {
      why = "the folder holds files that are not part of " QTRA_PRODUCT_NAME;
      tail = "already holds files that are not part of %s. Installing there could overwrite them.\n\nPlease select "
             "an empty folder or a new one.";
    }
  }
  if (why == nullptr) return kExitSuccess;
  *reason = why;
  char format[512];
  snprintf(format, sizeof format, "The Folder you Specified:\n%%s\n%s", tail);
  ShowMessage(owner, kInstallCaption, MB_ICONERROR, format, folder, kProductName);
  return kExitFolderNotCreatable;
}

void CInstallPlan::SaveRegistryValues(const char* keyPath, const char* onlyValue) {
  std::vector<SavedValue> values;
  HKEY key = nullptr;
  const bool existed = ::RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, &key) == ERROR_SUCCESS;
  if (existed) {
    for (DWORD index = 0;; ++index) {
      char name[256];
      BYTE data[2048];
      DWORD nameSize = sizeof name;
      DWORD dataSize = sizeof data;
      DWORD type = 0;
      const LONG status = ::RegEnumValueA(key, index, name, &nameSize, nullptr, &type, data, &dataSize);
      if (status == ERROR_NO_MORE_ITEMS) break;
      if (status != ERROR_SUCCESS) continue;  // a value too large to be ours
      if (onlyValue == nullptr || _stricmp(name, onlyValue) == 0) {
        values.push_back({name, type, std::string(reinterpret_cast<char*>(data), dataSize)});
      }
    }
    ::RegCloseKey(key);
  }
  const std::string path = keyPath;
  const std::string only = onlyValue != nullptr ? onlyValue : "";
  Done([path, only, existed, values] {
    if (!existed) {
      DeleteRegistryTree(path.c_str());
      DeleteEmptyParentKeys();
      return;
    }
    if (only.empty()) DeleteRegistryTree(path.c_str());
    HKEY restored = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                          nullptr, &restored, nullptr) != ERROR_SUCCESS) {
      return;
    }
    if (!only.empty() && values.empty()) ::RegDeleteValueA(restored, only.c_str());
    for (const SavedValue& value : values) {
      ::RegSetValueExA(restored, value.name.c_str(), 0, value.type, reinterpret_cast<const BYTE*>(value.data.data()),
                       static_cast<DWORD>(value.data.size()));
    }
    ::RegCloseKey(restored);
  });
}

void CInstallPlan::SaveFile(const char* path, bool isFolder) {
  const std::string where = path;
  const DWORD attributes = ::GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    Done([where, isFolder] {
      if (isFolder) {
        ::RemoveDirectoryA(where.c_str());  // only when nothing is left in it
      } else {
        ::DeleteFileA(where.c_str());
      }
    });
    return;
  }
  std::string bytes;
  if (isFolder || (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ||
      !ReadFileWhole(path, &bytes)) {
    return;
  }
  Done([where, bytes] { WriteFileWhole(where.c_str(), bytes); });
}

bool CInstallPlan::MakeFolder(HWND owner) {
  // The levels that do not exist yet, the deepest first: the undo removes them
  // again, each only when nothing is in it.
  std::vector<std::string> made;
  std::string level = g_state.targetFolder;
  while (!level.empty() && !PathExists(level.c_str())) {
    made.push_back(level);
    const size_t cut = level.rfind('\\');
    if (cut == std::string::npos || cut < 3) break;
    level.resize(cut);
  }
  Done([made] {
    for (const std::string& folder : made) ::RemoveDirectoryA(folder.c_str());
  });
  if (CreateFolderPath(owner, g_state.targetFolder, g_state.silent ? 0 : 1) && PathExists(g_state.targetFolder)) {
    return true;
  }
  ShowMessage(owner, kInstallCaption, MB_ICONERROR, "The Path to the Folder you Specified:\n%s\ncould not be created.\n",
              g_state.targetFolder);
  return false;
}

bool CInstallPlan::StageFiles(HWND page) {
  for (int step = 1; step <= kPayloadCount; ++step) {
    const PayloadFile& file = kPayload[step - 1];
    g_state.sourcePath[0] = '\0';
    g_state.destinationPath[0] = '\0';
    ShowProgress(page, ProgressBarsForStep(step));
    char staged[kPathSize];
    if (!JoinPath(g_state.destinationPath, g_state.targetFolder, file.fileName) ||
        !JoinWithSuffix(staged, g_state.targetFolder, file.fileName, kStagedSuffix)) {
      ShowMessage(page, kInstallCaption, MB_ICONERROR, "Copying to:\n%s\\%s\nThe file could not be copied.\n",
                  g_state.targetFolder, file.fileName);
      return false;
    }
    const std::string written = staged;
    Done([written] { DeleteOurFile(written.c_str()); });
    DeleteOurFile(staged);  // left by a run that was stopped
    const DWORD attributes = ::GetFileAttributesA(g_state.destinationPath);
    int done = 0;
    if (!ClearLinkForWriting(g_state.destinationPath, g_state.targetFolder) ||
        !ClearLinkForWriting(staged, g_state.targetFolder)) {
      ReportNotCopied(page, "", g_state.destinationPath);
    } else if (file.resourceId != 0) {
      // A read-only file of the program is not written over.
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        ReportNotCopied(page, "", g_state.destinationPath);
      } else {
        done = InstallOneFile(page, file.resourceId, staged);
      }
    } else {
      const DWORD length = ::GetModuleFileNameA(nullptr, g_state.sourcePath, MAX_PATH);
      if (length == 0 || length >= MAX_PATH) g_state.sourcePath[0] = '\0';
      ::SetDlgItemTextA(page, IDC_SOURCE, g_state.sourcePath);
      ::SetDlgItemTextA(page, IDC_DESTINATION, g_state.destinationPath);
      done = CopyFileKeepTime(g_state.sourcePath, staged, 1);
      if (!done) done = InstallOneFile(page, 0, staged);
    }
    if (!done) {
      ShowPermissionsAdvice(page);
      return false;
    }
  }
  return true;
}

bool CInstallPlan::PlaceFiles(HWND page) {
  for (const PayloadFile& file : kPayload) {
    char final[kPathSize];
    char staged[kPathSize];
    char backup[kPathSize];
    if (!JoinPath(final, g_state.targetFolder, file.fileName) ||
        !JoinWithSuffix(staged, g_state.targetFolder, file.fileName, kStagedSuffix) ||
        !JoinWithSuffix(backup, g_state.targetFolder, file.fileName, kBackupSuffix)) {
      return false;
    }
    const std::string placed = final;
    const std::string kept = backup;
    bool replaced = false;
    if (PathExists(final)) {
      DeleteOurFile(backup);
      replaced = ::MoveFileA(final, backup) != 0;
      if (!replaced) {
        ReportNotCopied(page, "", final);
        ShowPermissionsAdvice(page);
        return false;
      }
      m_replaced.push_back(backup);
    }
    if (!::MoveFileA(staged, final)) {
      if (replaced) ::MoveFileA(backup, final);
      ReportNotCopied(page, "", final);
      ShowPermissionsAdvice(page);
      return false;
    }
    Done([placed, kept, replaced] {
      DeleteOurFile(placed.c_str());
      if (replaced) ::MoveFileA(kept.c_str(), placed.c_str());
    });
  }
  return true;
}

int CInstallPlan::WriteProgram(HWND page) {
  m_undo.clear();
  m_replaced.clear();
  m_previous.clear();
  if (FindRecordedInstallation("")) m_previous = g_state.programDir;
  if (!MakeFolder(page)) {
    Undo();
    ShowPermissionsAdvice(page);
    return kExitFolderNotCreatable;
  }
  // Recorded before the files are written, as always; the undo puts the old value back.
  SaveRegistryValues((std::string(ProductRegKey) + "\\" + kConfigureKey).c_str(), kProgramDirValue);
  CopyStringBounded(g_state.programDir, g_state.targetFolder, sizeof g_state.programDir);
  WriteRegString(kConfigureKey, kProgramDirValue, g_state.targetFolder, ProductRegKey);
  BeginWaitCursor();
  // Leave the target folder, so nothing holds it as working directory.
  const char drive = g_state.sourceFolder[0] != '\0' ? g_state.sourceFolder[0] : g_state.targetFolder[0];
  char root[4] = {drive, ':', '\\', '\0'};
  _chdir(root);

  if (!StageFiles(page) || !PlaceFiles(page)) {
    Undo();
    return kExitFileNotWritable;
  }
  SaveRegistryValues(kUninstallKey, nullptr);
  if (!WriteUninstallEntry(g_state.programDir)) {
    ShowMessage(page, kInstallCaption, MB_ICONERROR, "%s", "The uninstall entry could not be written.");
    Undo();
    return kExitFileNotWritable;
  }
  return kExitSuccess;
}

bool CInstallPlan::WriteShortcuts(HWND owner) {
  return CreateAllShortcuts(owner, g_state.programDir,
                            [this](const char* path, bool isFolder) { SaveFile(path, isFolder); }) != 0;
}

void CInstallPlan::Finish(HWND owner) {
  for (const std::string& backup : m_replaced) DeleteOurFile(backup.c_str());
  char temporary[kPathSize];
  if (JoinPath(temporary, g_state.programDir, kShortcutTempFileName)) DeleteOurFile(temporary);
  RemoveOtherShortcuts(owner);
  if (!m_previous.empty() && !IsSameFolder(m_previous.c_str(), g_state.programDir)) {
    LogStep("Removing the earlier installation in %s", m_previous.c_str());
    RemoveProgramFiles(m_previous.c_str());
  }
  m_undo.clear();
  m_replaced.clear();
}

void CInstallPlan::Undo() {
  for (size_t i = m_undo.size(); i > 0; --i) m_undo[i - 1]();
  m_undo.clear();
  m_replaced.clear();
}

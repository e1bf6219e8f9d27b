#include "installer/install_plan.h"

#include <direct.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "common/file_safety.h"
#include "common/install_rules.h"
#include "common/registry.h"
#include "common/strings.h"
#include "common/ui_helpers.h"
#include "installer/folder_identity.h"
#include "installer/folder_names.h"
#include "installer/folders.h"
#include "installer/installer_state.h"
#include "installer/operation_record.h"
#include "installer/payload.h"
#include "installer/shortcuts.h"
#include "installer/uninstall_entry.h"
#include "installer/uninstall_steps.h"
#include "resource.h"

CInstallPlan g_plan;

namespace {

typedef std::function<void()> Restore;
typedef std::shared_ptr<Restore> SharedRestore;

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
  // The shell may hold a link it has just seen for a moment, reading its icon.
  HANDLE file = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 40 && file == INVALID_HANDLE_VALUE; ++attempt) {
    if (attempt > 0) ::Sleep(50);
    file = ::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  if (!bytes.empty()) ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
}

// The values of `keyPath` (only `onlyValue` when given) as they are now, and
// how to put them back.
Restore SnapshotRegistry(const std::string& keyPath, const char* onlyValue) {
  std::vector<SavedValue> values;
  HKEY key = nullptr;
  const bool existed = ::RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS;
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
  const std::string only = onlyValue != nullptr ? onlyValue : "";
  return [keyPath, only, existed, values] {
    if (!existed) {
      DeleteRegistryTree(keyPath.c_str());
      DeleteEmptyParentKeys();
      return;
    }
    if (only.empty()) DeleteRegistryTree(keyPath.c_str());
    HKEY restored = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                          nullptr, &restored, nullptr) != ERROR_SUCCESS) {
      return;
    }
    if (!only.empty() && values.empty()) ::RegDeleteValueA(restored, only.c_str());
    for (const SavedValue& value : values) {
      ::RegSetValueExA(restored, value.name.c_str(), 0, value.type, reinterpret_cast<const BYTE*>(value.data.data()),
                       static_cast<DWORD>(value.data.size()));
    }
    ::RegCloseKey(restored);
  };
}

// A link file (or the group folder) as it is now, and how to put it back.
Restore SnapshotFile(const char* path, bool isFolder) {
  const std::string where = path;
  const DWORD attributes = ::GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    return [where, isFolder] {
      if (isFolder) {
        ::RemoveDirectoryA(where.c_str());  // only when nothing is left in it
      } else {
        DeleteOurFile(where.c_str(), true);  // the shell may be reading the new link's icon
      }
    };
  }
  std::string bytes;
  if (isFolder || (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ||
      !ReadFileWhole(path, &bytes)) {
    return nullptr;
  }
  return [where, bytes] { WriteFileWhole(where.c_str(), bytes); };
}

void RunRestore(const SharedRestore& restore) {
  if (*restore) (*restore)();
}

// The folder judged by its typed text and place, before what it holds.
const char* RefusalOfPlace(FolderVerdict verdict, const char** why) {
  switch (verdict) {
    case kFolderUsable:
      break;
    case kFolderIsRelative:
      *why = "the folder is not a full path";
      return "is not a full path, beginning with its drive.";
    case kFolderIsNetwork:
      *why = "the folder is a network folder";
      return "is a network folder. %s is installed on a drive of this computer.";
    case kFolderIsRoot:
      *why = "the folder is the root of a drive";
      return "is the root of a drive. %s needs a folder of its own.";
    case kFolderIsProtected:
      *why = "the folder is a folder of Windows, of the programs or of a user, lies inside Windows, or holds one";
      return "is a folder that Windows, the programs or a user keep, lies inside Windows' own folder, or holds one of "
             "them. %s needs a folder of its own.";
  }
  return nullptr;
}

// The names in `folder` that are neither ours nor Explorer's, one a line, into
// `out` (size bytes). True when there is one.
bool ListOthersFiles(const char* folder, char* out, size_t size) {
  out[0] = '\0';
  size_t used = 0;
  bool any = false;
  ForEachFolderEntry(folder, [&](const WIN32_FIND_DATAA& entry) {
    const bool isFolder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (!isFolder && (IsOurProgramFile(entry.cFileName) || IsExplorerFile(entry.cFileName))) return true;
    any = true;
    const int written = snprintf(out + used, size - used, "%s%s%s", used > 0 ? "\n" : "", entry.cFileName,
                                 isFolder ? "\\" : "");
    if (written < 0 || used + static_cast<size_t>(written) + 5 > size) {
      out[used] = '\0';
      snprintf(out + used, size - used, "%s...", used > 0 ? "\n" : "");
      return false;
    }
    used += static_cast<size_t>(written);
    return true;
  });
  return any;
}

// What is wrong with a folder, before anyone is told.
struct FolderJudgement {
  enum Kind { kTaken, kRefused, kTooLong, kSourceFolder } kind = kTaken;
  const char* why = nullptr;   // for the log's last line
  const char* tail = nullptr;  // the refusal's sentence, after the folder's name
  char others[200] = {};       // the names of the files that are not ours
};

FolderJudgement JudgeFolder(const char* folder, char* full) {
  FolderJudgement verdict;
  // The recorded installation is upgraded where it is, whatever else its folder
  // holds: only our own files are written. A folder the rules refuse now but
  // an earlier version accepted is no exception, a drive root aside.
  char resolved[kPathSize] = {};
  char recorded[kPathSize] = {};
  const bool resolvedWhole = ResolveFullPath(folder, resolved, sizeof resolved);
  TrimTrailingBackslashes(resolved);
  const bool upgrade = resolvedWhole && FindRecordedFolder(recorded) && IsSameFolderOnDisk(resolved, recorded) &&
                       !IsRootPath(resolved);
  if (upgrade) {
    // By whatever name it was asked for, it stays recorded by its own (long) name.
    if (!RecordedFormOf(recorded, full)) CopyStringBounded(full, recorded, kPathSize);
  } else {
    verdict.tail = RefusalOfPlace(CheckProgramFolder(folder, full), &verdict.why);
  }
  if (verdict.why != nullptr) {
    verdict.kind = FolderJudgement::kRefused;
  } else if (strlen(full) > kMaxTargetLength) {
    verdict.kind = FolderJudgement::kTooLong;
    verdict.why = "the folder's path is too long";
  } else if (!upgrade && ListOthersFiles(full, verdict.others, sizeof verdict.others)) {
    verdict.kind = FolderJudgement::kRefused;
    verdict.why = "the folder holds files that are not part of " QTRA_PRODUCT_NAME;
    verdict.tail = "already holds files that are not part of %s:\n%s\n\nInstalling there could overwrite them.";
  } else if (IsSameFolderOnDisk(full, g_state.sourceFolder)) {
    verdict.kind = FolderJudgement::kSourceFolder;
    verdict.why = "the folder is the one the installer runs from";
  }
  return verdict;
}

}  // namespace

int CInstallPlan::CheckFolder(HWND owner, const char* folder, char* full, const char** reason) {
  const FolderJudgement verdict = JudgeFolder(folder, full);
  if (verdict.kind == FolderJudgement::kTaken) return kExitSuccess;
  *reason = verdict.why;
  // What the user can do here: the page offers the modes, the silent run its switch.
  const char* advice = g_state.silent ? "Give another folder with /D=." : "Please choose another of the modes above.";
  if (verdict.kind == FolderJudgement::kSourceFolder) {
    ShowMessage(owner, kInstallCaption, MB_ICONINFORMATION,
                "You can not install from the same directory that you are installing to.\n\n%s", advice);
  } else if (verdict.kind == FolderJudgement::kTooLong) {
    ShowMessage(owner, kInstallCaption, MB_ICONERROR, "%s", "The Path you Specified is to long.");
  } else {
    char format[512];
    snprintf(format, sizeof format, "The Folder you Specified:\n%%s\n%s\n\n%s", verdict.tail, advice);
    ShowMessage(owner, kInstallCaption, MB_ICONERROR, format, folder, kProductName, verdict.others);
  }
  return kExitFolderNotCreatable;
}

bool CInstallPlan::Accepts(const char* folder) {
  char full[kPathSize];
  return JudgeFolder(folder, full).kind == FolderJudgement::kTaken;
}

void CInstallPlan::Add(const std::string& what, int failure, std::function<bool()> apply, std::function<void()> undo,
                       bool link) {
  m_steps.push_back({what, failure, link, std::move(apply), std::move(undo)});
}

void CInstallPlan::Build(HWND page) {
  m_steps.clear();
  m_begun = 0;
  m_previous.clear();
  char recorded[kPathSize];
  if (FindRecordedFolder(recorded)) m_previous = recorded;
  AddFolderSteps(page);
  AddFileSteps(page);
  AddLinkSteps(page);
}

void CInstallPlan::AddFolderSteps(HWND page) {
  const std::string target = g_state.targetFolder;
  const std::string previous = m_previous;
  // Before anything else changes: what is under way, for a run that is ended half-way.
  Add("Recording the installation under way", kExitFileNotWritable,
      [previous, target] { return WriteOperationRecord(kInstallOperation, previous.c_str(), target.c_str()); },
      [] { ClearOperationRecord(); });

  // The levels that do not exist yet, the deepest first: the undo removes them
  // again, each only when nothing is in it.
  auto made = std::make_shared<std::vector<std::string>>();
  Add("Making the folder", kExitFolderNotCreatable,
      [page, target, made] {
        std::string level = target;
        while (!level.empty() && !PathExists(level.c_str())) {
          made->push_back(level);
          const size_t cut = level.rfind('\\');
          if (cut == std::string::npos || cut < 3) break;
          level.resize(cut);
        }
        if (!made->empty()) RecordMadeFolder(made->back().c_str());
        if (CreateFolderPath(page, target.c_str(), g_state.silent ? 0 : 1) && PathExists(target.c_str())) return true;
        ShowMessage(page, kInstallCaption, MB_ICONERROR,
                    "The Path to the Folder you Specified:\n%s\ncould not be created.\n", target.c_str());
        ShowPermissionsAdvice(page);
        return false;
      },
      [made] {
        for (const std::string& folder : *made) ::RemoveDirectoryA(folder.c_str());
      });

  // Recorded before the files are written, as always; the undo puts the old value back.
  auto restore = std::make_shared<Restore>();
  Add(std::string("Recording the folder in ") + kProgramDirValue, kExitFileNotWritable,
      [target, restore] {
        *restore = SnapshotRegistry(std::string(ProductRegKey) + "\\" + kConfigureKey, kProgramDirValue);
        char before[kPathSize] = {};
        const bool had = ReadRegString(kConfigureKey, kProgramDirValue, nullptr, before, sizeof before, ProductRegKey) > 0;
        CopyStringBounded(g_state.programDir, target.c_str(), sizeof g_state.programDir);
        if (!NoteProgramDirWritten(before, had) ||
            !WriteRegString(kConfigureKey, kProgramDirValue, target.c_str(), ProductRegKey)) {
          return false;
        }
        BeginWaitCursor();
        // Leave the target folder, so nothing holds it as working directory.
        const char drive = g_state.sourceFolder[0] != '\0' ? g_state.sourceFolder[0] : target[0];
        char root[4] = {drive, ':', '\\', '\0'};
        _chdir(root);
        return true;
      },
      [restore] { RunRestore(restore); });
}

void CInstallPlan::AddFileSteps(HWND page) {
  const std::string target = g_state.targetFolder;
  for (size_t i = 0; i < kPayloadFileCount; ++i) {
    const ProgramFile& file = kProgramFiles[i];
    char final[kPathSize] = {};
    char staged[kPathSize] = {};
    JoinPath(final, target.c_str(), file.name);
    JoinSuffixed(staged, target.c_str(), file.name, kStagedSuffix);
    const std::string finalPath = final;
    const std::string stagedPath = staged;
    Add(std::string("Writing ") + file.name + kStagedSuffix, kExitFileNotWritable,
        [page, i, &file, target, finalPath, stagedPath] {
          g_state.sourcePath[0] = '\0';
          CopyStringBounded(g_state.destinationPath, finalPath.c_str(), sizeof g_state.destinationPath);
          ShowProgress(page, ProgressBarsForStep(i + 1));
          if (finalPath.empty() || stagedPath.empty()) {
            ShowMessage(page, kInstallCaption, MB_ICONERROR, "Copying to:\n%s\\%s\nThe file could not be copied.\n",
                        target.c_str(), file.name);
            return false;
          }
          DeleteOurFile(stagedPath.c_str());  // left by a run that was stopped
          const DWORD attributes = ::GetFileAttributesA(finalPath.c_str());
          int done = 0;
          if (!ClearLinkForWriting(finalPath.c_str(), target.c_str()) ||
              !ClearLinkForWriting(stagedPath.c_str(), target.c_str())) {
            ReportNotCopied(page, "", finalPath.c_str());
          } else if (file.origin == kFromResource) {
            // A read-only file of the program is not written over.
            if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
              ReportReadOnly(page, finalPath.c_str());
            } else {
              done = InstallOneFile(page, file.resourceId, stagedPath.c_str());
            }
          } else if (OwnProgramPath(nullptr, g_state.sourcePath)) {
            ::SetDlgItemTextA(page, IDC_SOURCE, g_state.sourcePath);
            ::SetDlgItemTextA(page, IDC_DESTINATION, g_state.destinationPath);
            done = CopyFileKeepTime(g_state.sourcePath, stagedPath.c_str(), 1);
            if (!done) done = InstallOneFile(page, 0, stagedPath.c_str());
          }
          if (!done) ShowPermissionsAdvice(page);
          return done != 0;
        },
        [stagedPath] { DeleteOurFile(stagedPath.c_str()); });
  }
  for (size_t i = 0; i < kPayloadFileCount; ++i) {
    char final[kPathSize] = {};
    char staged[kPathSize] = {};
    char backup[kPathSize] = {};
    JoinPath(final, target.c_str(), kProgramFiles[i].name);
    JoinSuffixed(staged, target.c_str(), kProgramFiles[i].name, kStagedSuffix);
    JoinSuffixed(backup, target.c_str(), kProgramFiles[i].name, kBackupSuffix);
    const std::string placed = final;
    const std::string stagedPath = staged;
    const std::string kept = backup;
    const char* name = kProgramFiles[i].name;
    // What the step got done: the old file moved aside, the new one put in place.
    auto moved = std::make_shared<std::pair<bool, bool>>(false, false);
    Add(std::string("Putting ") + name + " in place", kExitFileNotWritable,
        [page, name, placed, stagedPath, kept, moved] {
          // The new bytes are on the disk before the old ones are moved aside:
          // a power cut never leaves the name holding neither.
          const bool replacing = PathExists(placed.c_str());
          if (!FlushFileToDisk(stagedPath.c_str()) || !NoteFileChange(name, replacing ? kFileReplaced : kFileCreated)) {
            ReportNotCopied(page, "", placed.c_str());
            return false;
          }
          if (replacing) {
            DeleteOurFile(kept.c_str());
            moved->first = ::MoveFileA(placed.c_str(), kept.c_str()) != 0;
            if (!moved->first) {
              ReportNotReplaced(page, placed.c_str());
              return false;
            }
          }
          moved->second = ::MoveFileA(stagedPath.c_str(), placed.c_str()) != 0;
          if (moved->second) return true;
          ReportNotReplaced(page, placed.c_str());
          return false;
        },
        [placed, kept, moved] {
          if (moved->second) DeleteOurFile(placed.c_str(), true);
          if (moved->first) ::MoveFileA(kept.c_str(), placed.c_str());
        });
  }
}

void CInstallPlan::AddLinkSteps(HWND owner) {
  for (size_t i = 0; i < kShortcutCount; ++i) {
    auto restore = std::make_shared<Restore>();
    Add("Making link " + std::to_string(i + 1) + " of " + std::to_string(kShortcutCount), kExitFileNotWritable,
        [owner, i, restore] {
          if (i == 0 && !NoteLinksBegun()) return false;
          return CreateShortcutAt(owner, i, g_state.programDir, [restore](const char* path, bool isFolder) {
                   *restore = SnapshotFile(path, isFolder);
                 }) != 0;
        },
        [restore] { RunRestore(restore); }, true);
  }
  // The entry goes last: until it names the new folder, the system's list of
  // programs still uninstalls the earlier installation.
  auto entryRestore = std::make_shared<Restore>();
  Add("Writing the uninstall entry", kExitFileNotWritable,
      [owner, entryRestore] {
        *entryRestore = SnapshotRegistry(kUninstallKey, nullptr);
        if (NoteEntryBegun() && WriteUninstallEntry(g_state.programDir)) return true;
        ShowMessage(owner, kInstallCaption, MB_ICONERROR, "%s", "The uninstall entry could not be written.");
        return false;
      },
      [entryRestore] { RunRestore(entryRestore); }, true);
  // The last step: from here on, a run that is ended is finished by the next, not rolled back.
  Add("Marking the installation whole", kExitFileNotWritable, [] {
        MarkOperationDone();
        return true;
      },
      [] {}, true);
}

int CInstallPlan::Apply(bool withLinks, size_t failAt) {
  while (m_begun < m_steps.size()) {
    const PlanStep& step = m_steps[m_begun];
    if (step.link && !withLinks) return kExitSuccess;
    if (g_state.silent) LogStep("%s", step.what.c_str());
    const bool injected = m_begun == failAt;
    ++m_begun;
    if (!step.apply() || injected) {
      Undo();
      return step.failure;
    }
  }
  return kExitSuccess;
}

bool CInstallPlan::Finish(HWND owner) {
  char left[1024];
  const bool whole = FinishRecordedInstall(owner, left, sizeof left);
  // The installation itself is in place; the next run removes what is left.
  if (!whole) LogStep("Left for the next run to remove, being in use:\n%s", left);
  m_steps.clear();
  m_begun = 0;
  return whole;
}

void CInstallPlan::Undo() {
  for (size_t i = m_begun; i > 0; --i) m_steps[i - 1].undo();
  m_begun = 0;
}

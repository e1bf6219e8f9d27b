#include "installer/uninstall_steps.h"

#include <shlobj.h>

#include <cstring>

#include "common/file_safety.h"
#include "common/install_rules.h"
#include "common/paths.h"
#include "common/registry.h"
#include "common/strings.h"
#include "installer/folder_identity.h"
#include "installer/folder_names.h"
#include "installer/folders.h"
#include "installer/install_modes.h"
#include "installer/installer_state.h"
#include "installer/payload.h"
#include "installer/shortcuts.h"
#include "installer/installer_lock.h"
#include "installer/operation_record.h"
#include "installer/uninstall_entry.h"
#include "installer/uninstall_relay.h"

namespace {
bool HoldsProgram(const char* folder) {
  // An uninstall that was stopped half-way may have taken the converter but
  // left the uninstaller, which marks the folder as ours just as well.
  char uninstaller[kPathSize];
  return HoldsConverter(folder) || (JoinPath(uninstaller, folder, kInstallerFileName) && PathExists(uninstaller));
}

// A folder an installation may have been made in: by this version's rules or,
// for the folders it now refuses as Windows' or a user's, by an earlier one's.
bool MayHoldInstallation(const char* folder) {
  const FolderVerdict verdict = CheckProgramFolder(folder, nullptr);
  return verdict == kFolderUsable || verdict == kFolderIsProtected;
}
}  // namespace

bool FindRecordedFolder(char* folder) {
  folder[0] = '\0';
  char recorded[kPathSize] = {};
  ReadRegString(kConfigureKey, kProgramDirValue, nullptr, recorded, sizeof recorded, ProductRegKey);
  const bool tooLong = strlen(recorded) > kMaxTargetLength;
  TrimTrailingBackslashes(recorded);
  char location[kPathSize];
  if (tooLong || recorded[0] == '\0' || !ReadInstallLocation(location, sizeof location) ||
      !IsSameFolderOnDisk(location, recorded) || !PathExists(recorded) || !HoldsProgram(recorded) ||
      !MayHoldInstallation(recorded)) {
    return false;
  }
  CopyStringBounded(folder, recorded, kPathSize);
  return true;
}

namespace {

// The copy just made, held open so that nobody can change or replace it from
// the comparison until it has been started; the system closes it at the end.
HANDLE g_heldCopy = INVALID_HANDLE_VALUE;

HANDLE OpenForReading(const char* path, DWORD share) {
  return ::CreateFileA(path, GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Reads up to `size` bytes, fewer only at the end of the file.
bool ReadChunk(HANDLE file, char* buffer, DWORD size, DWORD* read) {
  *read = 0;
  while (*read < size) {
    DWORD got = 0;
    if (!::ReadFile(file, buffer + *read, size - *read, &got, nullptr)) return false;
    if (got == 0) break;
    *read += got;
  }
  return true;
}

// The uninstaller's copy goes into this folder of the local application data.
const char kCopyFolder[] = "TEMP\\qtra";
// The Local-user folder's own name, inside the maker's folder.
const char kLocalUserFolderName[] = "qtra";

}  // namespace

bool SameFileBytes(HANDLE first, HANDLE second) {
  static char a[16384];
  static char b[sizeof a];
  for (;;) {
    DWORD readA = 0;
    DWORD readB = 0;
    if (!ReadChunk(first, a, sizeof a, &readA) || !ReadChunk(second, b, sizeof b, &readB) || readA != readB ||
        memcmp(a, b, readA) != 0) {
      return false;
    }
    if (readA < sizeof a) return true;
  }
}

void RemoveUninstallerLeftovers() {
  // A copy this run started and held has ended by now.
  if (g_heldCopy != INVALID_HANDLE_VALUE) ::CloseHandle(g_heldCopy);
  g_heldCopy = INVALID_HANDLE_VALUE;
  char local[kPathSize];
  char temporary[kPathSize];
  if (!GetSpecialFolder(nullptr, CSIDL_LOCAL_APPDATA, local) || !JoinPath(temporary, local, kCopyFolder)) return;
  const DWORD folderAttributes = ::GetFileAttributesA(temporary);
  // A folder that is a link is not ours to clear.
  if (folderAttributes == INVALID_FILE_ATTRIBUTES || (folderAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) return;
  char own[kPathSize] = {};
  if (!OwnProgramPath(nullptr, own)) own[0] = '\0';
  char folderFinal[2 * kPathSize];
  if (!FinalPathOf(temporary, folderFinal, sizeof folderFinal)) folderFinal[0] = '\0';
  for (const char* name : {kInstallerFileName, kParkedRelayFileName}) {
    char path[kPathSize];
    if (!JoinPath(path, temporary, name) || _stricmp(path, own) == 0) continue;
    const DWORD attributes = ::GetFileAttributesA(path);
    // A program still running (an uninstall under way) stays: it cannot be deleted.
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      DeleteEntryItself(path, attributes, folderFinal);
    }
  }
  ::RemoveDirectoryA(temporary);  // only when nothing else is in it
}

bool FindRecordedInstallation(const char* own) {
  // Read whole: a folder longer than any installation's is refused below, not
  // cut into the name of another folder.
  ReadRegString(kConfigureKey, kProgramDirValue, "", g_state.programDir, sizeof g_state.programDir, ProductRegKey);
  const bool tooLong = strlen(g_state.programDir) > kMaxTargetLength;
  TrimTrailingBackslashes(g_state.programDir);
  // The recorded value alone may name a folder of the user's own (a restored
  // backup of the settings): the uninstall entry must name the same folder,
  // and an uninstall started from an installed copy acts on that copy's folder.
  char location[kPathSize];
  const bool registered = ReadInstallLocation(location, sizeof location) &&
                          IsSameFolderOnDisk(location, g_state.programDir) &&
                          (own == nullptr || own[0] == '\0' || IsSameFolderOnDisk(own, g_state.programDir));
  if (own != nullptr && own[0] != '\0' && !IsSameFolderOnDisk(own, g_state.programDir)) {
    CopyStringBounded(g_state.programDir, own, sizeof g_state.programDir);  // the one the messages name
  }
  // Only a folder that holds the program is taken for the installation. A
  // drive or a share is never one, whatever it holds ("X:\." and "X:\a\.."
  // name the drive itself).
  return registered && !tooLong && g_state.programDir[0] != '\0' && PathExists(g_state.programDir) &&
         HoldsProgram(g_state.programDir) && MayHoldInstallation(g_state.programDir);
}

namespace {
// What an uninstall leaves in the program folder, and what that means for the
// registry and the exit code. `goingLater` names a file of ours that is still
// to be deleted (the uninstaller's own), or is null; `left` (size bytes)
// receives the names that remain.
UninstallOutcome JudgeRemains(bool folderRemoved, const char* goingLater, char* left, size_t size) {
  bool oursLeft = false;
  bool othersLeft = false;
  if (!folderRemoved) {
    ListFolderEntries(g_state.programDir, left, size);
    ForEachFolderEntry(g_state.programDir, [&](const WIN32_FIND_DATAA& entry) {
      const bool folder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      if (goingLater != nullptr && _stricmp(entry.cFileName, goingLater) == 0) return true;
      if (!folder && IsExplorerFile(entry.cFileName)) return true;  // they go with the last of ours
      (IsOurProgramFile(entry.cFileName) && !folder ? oursLeft : othersLeft) = true;
      return true;
    });
  }
  char uninstaller[kPathSize];
  const bool uninstallerLeft = goingLater == nullptr && JoinPath(uninstaller, g_state.programDir, kInstallerFileName) &&
                               PathExists(uninstaller);
  // A folder that is still there is read again: the entries listed are what remains.
  const bool gone = folderRemoved || !PathExists(g_state.programDir) || (!oursLeft && !othersLeft && goingLater != nullptr);
  return JudgeUninstall(gone, oursLeft, othersLeft, uninstallerLeft);
}

int ExitCodeOf(const UninstallOutcome& outcome) {
  return outcome.result == kUninstallComplete ? kExitSuccess : kExitFolderNotRemoved;
}
}  // namespace

int ReportUninstall(HWND owner, bool folderRemoved, const char* goingLater, bool* removeSettings) {
  char left[256] = {};
  const UninstallOutcome outcome = JudgeRemains(folderRemoved, goingLater, left, sizeof left);
  char location[kPathSize];
  if (outcome.removeEntry) {
    RemoveUninstallEntry();
  } else if (!ReadInstallLocation(location, sizeof location)) {
    WriteUninstallEntry(g_state.programDir);  // the uninstaller stayed: its entry runs it again
  }
  *removeSettings = outcome.removeSettings;
  char text[1024];
  if (!FormatUninstallReport(outcome, kProductName, g_state.programDir, left, text, sizeof text)) {
    CopyStringBounded(text, "The UnInstall could not remove everything.", sizeof text);
  }
  ShowMessage(owner, kProductName, outcome.result == kUninstallComplete ? MB_ICONINFORMATION : MB_ICONWARNING, "%s",
              text);
  return ExitCodeOf(outcome);
}

void RemoveUninstalledLevels(const char* folder, const char* made) {
  if (PathExists(folder)) return;
  if (made[0] != '\0') RemoveEmptyLevels(folder, made);
  // The previous release recorded no folder it made; of its default
  // {local application data}\Marlowbrook\qtra the maker's folder is ours by
  // name: that exact one goes too, once empty, unless it is a link. The
  // folder itself is gone, so its parent, which is there, is compared.
  const char* name = strrchr(folder, '\\');
  if (name == nullptr || _stricmp(name + 1, kLocalUserFolderName) != 0) return;
  char parent[kPathSize];
  char local[kPathSize];
  char maker[kPathSize];
  CopyStringBounded(parent, folder, sizeof parent);
  parent[name - folder] = '\0';
  if (!GetSpecialFolder(nullptr, CSIDL_LOCAL_APPDATA, local) || !JoinPath(maker, local, kCompanyName) ||
      !IsSameFolderOnDisk(parent, maker)) {
    return;
  }
  const DWORD attributes = ::GetFileAttributesA(maker);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
      !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    ::RemoveDirectoryA(maker);  // only when nothing is in it
  }
}

int UninstallProgram(HWND owner) {
  char folder[kPathSize];
  CopyStringBounded(folder, g_state.programDir, sizeof folder);
  char made[kPathSize] = {};
  ReadRegString(kConfigureKey, kMadeFolderValue, nullptr, made, sizeof made, ProductRegKey);
  // Recorded first, with the levels the installation made: a run that is
  // ended half-way is finished by the next. The record goes last, with the settings.
  WriteOperationRecord(kUninstallOperation, folder, "");
  if (made[0] != '\0') RecordMadeFolder(made);
  LogStep("Deleting the program's files");
  RemoveProgramFiles(folder, true, kInstallerFileName);
  LogStep("Removing the shortcuts and the group");
  RemoveAllShortcuts(owner);
  // The entry goes before the uninstaller it names, so at no moment does it
  // name a missing one; should the uninstaller have to stay, it comes back.
  LogStep("Removing the uninstall entry");
  RemoveUninstallEntry();
  LogStep("Deleting the uninstaller");
  char uninstaller[kPathSize];
  const bool later = JoinPath(uninstaller, folder, kInstallerFileName) &&
                     TakeOutUninstaller(uninstaller) == kAfterTheRelay;
  const bool removed = RemoveProgramFiles(folder, true) != 0;
  bool removeSettings = false;
  const int code = ReportUninstall(owner, removed, later ? kInstallerFileName : nullptr, &removeSettings);
  if (removed) RemoveUninstalledLevels(folder, made);
  // On another drive the waiting relay's file cannot be moved away: it goes
  // once the relay has this run's result and has ended, then the folder. This
  // run holds the work lock to its end, so no other run comes in between.
  if (later && HandOverAndDeleteRelay(code, uninstaller) && RemoveProgramFiles(folder, true)) {
    RemoveUninstalledLevels(folder, made);
  }
  if (removeSettings) {
    RemoveRegistrations();  // the record with them
  } else {
    ClearOperationRecord();
  }
  return code;
}

namespace {

// The copy is started only when it holds the source's bytes, and it stays
// held (read only, shared for reading only) until this process ends.
bool HoldCopyIfSame(const char* source, const char* copy) {
  if (g_heldCopy != INVALID_HANDLE_VALUE) ::CloseHandle(g_heldCopy);
  g_heldCopy = OpenForReading(copy, FILE_SHARE_READ);
  HANDLE original = OpenForReading(source, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
  const bool same = g_heldCopy != INVALID_HANDLE_VALUE && original != INVALID_HANDLE_VALUE &&
                    SameFileBytes(original, g_heldCopy);
  if (original != INVALID_HANDLE_VALUE) ::CloseHandle(original);
  if (!same) LogStep("The copy %s differs from %s", copy, source);
  return same;
}

}  // namespace

bool CopyUninstallerOut(HWND owner, char* copy, char* temporary, char* programDir) {
  // An installed uninstaller removes the installation it belongs to; a copy
  // started elsewhere, the recorded one.
  char own[kPathSize] = {};
  const DWORD length = ::GetModuleFileNameA(nullptr, own, sizeof own);
  char* name = strrchr(own, '\\');
  if (length == 0 || length >= sizeof own || name == nullptr) own[0] = '\0';
  if (name != nullptr) *name = '\0';
  char location[kPathSize] = {};
  ReadInstallLocation(location, sizeof location);
  ReadRegString(kConfigureKey, kProgramDirValue, "", programDir, kPathSize, ProductRegKey);
  const bool installedCopy = own[0] != '\0' && (IsSameFolderOnDisk(own, programDir) || IsSameFolderOnDisk(own, location));
  if (installedCopy) CopyStringBounded(programDir, own, kPathSize);
  const bool tooLong = strlen(programDir) > kMaxTargetLength;  // would have been cut
  TrimTrailingSeparators(programDir);
  if (tooLong || strchr(programDir, '\\') == nullptr) {
    ShowMessage(owner, kInstallCaption, MB_ICONERROR, "%s", "Unable to create an uninstall path.");
    return false;
  }
  char local[kPathSize];
  if (!GetSpecialFolder(owner, CSIDL_LOCAL_APPDATA, local)) {
    ShowMessage(owner, kProductName, MB_ICONINFORMATION, "%s", "Unable to access a folder to install into.");
    return false;
  }
  char source[kPathSize];
  // Paths that do not fit are refused: a cut one could name someone else's file.
  if (!JoinPath(temporary, local, kCopyFolder) || !JoinPath(source, programDir, kInstallerFileName) ||
      !JoinPath(copy, temporary, kInstallerFileName)) {
    ShowMessage(owner, kInstallCaption, MB_ICONERROR, "%s", "Unable to create an uninstall path.");
    return false;
  }
  CreateFolderPath(owner, temporary, g_state.silent ? 0 : 1);
  if (!PathExists(source)) {
    ShowMessage(owner, kInstallCaption, MB_ICONERROR, "Source File:\n%s\nis missing!", source);
    return false;
  }
  // The copy replaces only our own earlier copy, never what a link there points to.
  const bool free = ClearLinkForWriting(copy, temporary);
  if (free && PathExists(copy)) ::SetFileAttributesA(copy, FILE_ATTRIBUTE_NORMAL);
  if (free) ::DeleteFileA(copy);
  if (free && ::CopyFileA(source, copy, FALSE) && HoldCopyIfSame(source, copy)) return true;
  ReportNotCopied(owner, source, copy);
  return false;
}

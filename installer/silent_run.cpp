#include "installer/silent_run.h"

#include <direct.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "common/paths.h"
#include "common/registry.h"
#include "common/strings.h"
#include "installer/converter_closing.h"
#include "installer/folder_names.h"
#include "installer/folders.h"
#include "installer/install_plan.h"
#include "installer/installer_state.h"
#include "installer/install_modes.h"
#include "installer/shortcuts.h"
#include "installer/uninstall_steps.h"

namespace {

int Fail(int code, const char* reason) {
  // A folder this Windows could not name for us is why later steps failed.
  if (FolderNameFailed() && code != kExitConverterStillOpen && code != kExitBadArgument) code = kExitFolderNotNameable;
  LogStep("Failed (exit code %d): %s", code, reason);
  return code;
}

// Where a per-user program belongs when nobody chose a folder: inside the
// user's own profile, where no other user of the machine can change it.
bool PerUserProgramFolder(char* folder) {
  char local[kPathSize];
  return GetSpecialFolder(nullptr, CSIDL_LOCAL_APPDATA, local) && JoinPath(folder, local, "Programs\\Quantara");
}

int InstallSilently(const char* requested) {
  LogStep("Silent installation of %s %s", kProductName, kProductVersion);
  char folder[kPathSize] = {};
  if (requested[0] != '\0') {
    CopyStringBounded(folder, requested, sizeof folder);
  } else if (!FindUpgradeFolder(folder, 236) && !PerUserProgramFolder(folder)) {
    return Fail(kExitFolderNotCreatable, "no folder could be proposed to install into");
  }
  // "/D=" as typed: the wide command line keeps the letters the code page lacks.
  if (requested[0] != '\0' && !RequestedFolderName(requested, folder)) {
    return Fail(kExitFolderNotCreatable, "the folder's name can not be used");
  }
  LogStep("Program folder: %s", folder);
  // The same checks as the location page's Next.
  const char* reason = "";
  const int verdict = CInstallPlan::CheckFolder(nullptr, folder, g_state.targetFolder, &reason);
  if (verdict != kExitSuccess) return Fail(verdict, reason);
  if (::GetCurrentDirectoryA(236, g_state.sourceFolder) == 0) g_state.sourceFolder[0] = '\0';
  if (_stricmp(g_state.targetFolder, g_state.sourceFolder) == 0) {
    return Fail(kExitFolderNotCreatable, "the folder is the one the installer runs from");
  }

  LogStep("Closing a running converter");
  if (!CloseRunningConverter(nullptr)) return Fail(kExitConverterStillOpen, "the running converter did not close");

  LogStep("Writing the files");
  const int written = g_plan.WriteProgram(nullptr);
  if (written != kExitSuccess) {
    return Fail(written, written == kExitFolderNotCreatable
                             ? "the folder could not be created"
                             : "a file of the program could not be written; nothing was changed");
  }
  LogStep("Creating the shortcuts and the group");
  if (!g_plan.WriteShortcuts(nullptr)) {
    g_plan.Undo();
    return Fail(kExitFileNotWritable, "the shortcuts or the group could not be created; nothing was changed");
  }
  g_plan.Finish(nullptr);
  LogStep("Installed");
  return kExitSuccess;
}

// A result the uninstall's copy hands to the relay waiting for it, named after
// the copy's process: an event that says it is there and the number itself.
struct ResultChannel {
  ResultChannel(DWORD copyProcess, bool create) {
    char name[64];
    snprintf(name, sizeof name, "Marlowbrook.Quantara.UninstallDone.%lu", copyProcess);
    done = create ? ::CreateEventA(nullptr, TRUE, FALSE, name) : ::OpenEventA(EVENT_MODIFY_STATE, FALSE, name);
    snprintf(name, sizeof name, "Marlowbrook.Quantara.UninstallResult.%lu", copyProcess);
    mapping = create ? ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(LONG), name)
                     : ::OpenFileMappingA(FILE_MAP_WRITE, FALSE, name);
    if (mapping != nullptr) result = static_cast<LONG*>(::MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(LONG)));
    if (result == nullptr && done != nullptr) {
      ::CloseHandle(done);
      done = nullptr;
    }
  }
  ~ResultChannel() {
    if (result != nullptr) ::UnmapViewOfFile(result);
    if (mapping != nullptr) ::CloseHandle(mapping);
    if (done != nullptr) ::CloseHandle(done);
  }
  ResultChannel(const ResultChannel&) = delete;
  ResultChannel& operator=(const ResultChannel&) = delete;

  HANDLE done = nullptr;
  HANDLE mapping = nullptr;
  LONG* result = nullptr;
};

// The copy runs silently too; a package manager waits for this process, so
// this one waits for the copy and passes on its result.
int RelaySilently() {
  LogStep("Silent uninstall of %s", kProductName);
  char temporary[kPathSize];
  char copy[kPathSize];
  char folder[kPathSize];
  if (!CopyUninstallerOut(nullptr, copy, temporary, folder)) {
    return Fail(kExitNotInstalled, "the uninstaller could not be copied");
  }
  char line[3 * kPathSize];
  const int length = snprintf(line, sizeof line, "\"%s\" %s %s %s%s", copy, kUninstallRelayArgument, kSilentSwitch,
                              kFolderSwitch, folder);
  if (length < 0 || static_cast<size_t>(length) >= sizeof line) return Fail(kExitNotInstalled, "the path is too long");
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!::CreateProcessA(copy, line, nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, temporary, &startup,
                        &process)) {
    return Fail(kExitNotInstalled, "the copy of the uninstaller could not be started");
  }
  // The copy may hand its result over before it ends (see HandOverResult).
  ResultChannel channel(process.dwProcessId, true);
  ::ResumeThread(process.hThread);
  ::CloseHandle(process.hThread);
  HANDLE waits[2] = {process.hProcess, channel.done};
  const DWORD woken = ::WaitForMultipleObjects(channel.done != nullptr ? 2 : 1, waits, FALSE, INFINITE);
  DWORD code = kExitCancelled;
  if (woken == WAIT_OBJECT_0 + 1 && channel.result != nullptr) {
    code = static_cast<DWORD>(*channel.result);
  } else {
    ::GetExitCodeProcess(process.hProcess, &code);
    // The copy has ended, so its file can go; the file this relay runs from goes with the next run.
    RemoveUninstallerLeftovers();
  }
  ::CloseHandle(process.hProcess);
  return static_cast<int>(code);
}

// The relay that started this copy runs from the installed uninstaller and
// waits for it. A running program cannot be deleted, but it can be moved: out
// of the program folder, next to this copy (the same temporary folder, so the
// next uninstall's copy step finds it there).
// Where the move is not possible (the program folder lies on another drive),
// the file is left, and its path returned in `left` (kPathSize), for the copy
// to delete once the relay has ended.
void ParkWaitingRelay(char* left) {
  left[0] = '\0';
  char own[kPathSize] = {};
  char* name = OwnProgramPath(nullptr, own) ? strrchr(own, '\\') : nullptr;
  if (name == nullptr) return;
  *name = '\0';
  char parked[kPathSize];
  char installed[kPathSize];
  if (!JoinPath(parked, own, kParkedRelayFileName) || !JoinPath(installed, g_state.programDir, kInstallerFileName)) return;
  const DWORD attributes = ::GetFileAttributesA(installed);
  // A link is no running program of ours; it goes with the folder as it is.
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return;
  if (PathExists(parked) && !::DeleteFileA(parked)) return;
  if (::MoveFileExA(installed, parked, 0)) {
    LogStep("Moved the running uninstaller to %s", parked);
  } else {
    CopyStringBounded(left, installed, kPathSize);
  }
}

// The relay cannot end before it has this copy's result, and its file cannot
// go before it ends: the result goes first, then the file and the folder.
int HandOverResult(int code, const char* relayFile) {
  ResultChannel channel(::GetCurrentProcessId(), false);
  if (channel.done == nullptr) return code;
  *channel.result = code;
  ::SetEvent(channel.done);
  for (int attempt = 0; attempt < 300 && PathExists(relayFile); ++attempt) {
    if (!::DeleteFileA(relayFile)) ::Sleep(100);
  }
  ::RemoveDirectoryA(g_state.programDir);
  return code;
}

int UninstallSilently(const char* own) {
  if (!FindRecordedInstallation(own)) {
    return Fail(kExitNotInstalled, "no installation was found in the recorded folder");
  }
  LogStep("Program folder: %s", g_state.programDir);
  LogStep("Closing a running converter");
  if (!CloseRunningConverter(nullptr)) return Fail(kExitConverterStillOpen, "the running converter did not close");
  char relayFile[kPathSize];
  ParkWaitingRelay(relayFile);
  LogStep("Deleting the program's files");
  char folder[kPathSize];
  CopyStringBounded(folder, g_state.programDir, sizeof folder);
  const bool removed = RemoveProgramFiles(folder) != 0;
  LogStep("Removing the shortcuts and the group");
  RemoveAllShortcuts(nullptr, false);
  const int code = ReportUninstall(nullptr, removed, relayFile[0] != '\0' ? kInstallerFileName : nullptr);
  if (code != kExitSuccess) return Fail(code, "the folder could not be fully removed");
  return relayFile[0] != '\0' ? HandOverResult(code, relayFile) : code;
}

}  // namespace

int RunSilently(const InstallerCommand& command) {
  g_state.silent = true;
  StartLog(command.action != kActionUninstall);
  InitDriveFolders();
  switch (command.action) {
    case kActionInstall:
      return InstallSilently(command.folder);
    case kActionUninstallRelay:
      return RelaySilently();
    case kActionUninstall:
      return UninstallSilently(command.folder);
    case kActionBadArgument:
      break;
  }
  char reason[600] = "unknown or misplaced switch";
  const size_t length = strlen(g_state.commandLine);
  if (command.badAt < length && command.badLength <= length - command.badAt) {
    snprintf(reason, sizeof reason, "unknown or misplaced switch: %.*s", static_cast<int>(command.badLength),
             g_state.commandLine + command.badAt);
  }
  return Fail(kExitBadArgument, reason);
}

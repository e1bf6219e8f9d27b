#include "installer/silent_run.h"

#include <direct.h>

#include <cstdio>
#include <cstring>

#include "common/paths.h"
#include "common/registry.h"
#include "common/strings.h"
#include "installer/converter_closing.h"
#include "installer/folder_names.h"
#include "installer/folders.h"
#include "installer/installer_state.h"
#include "installer/location_dialog.h"
#include "installer/payload.h"
#include "installer/shortcuts.h"
#include "installer/uninstall_entry.h"
#include "installer/uninstall_steps.h"

namespace {

int Fail(int code, const char* reason) {
  // A folder this Windows could not name for us is why later steps failed.
  if (FolderNameFailed() && code != kExitConverterStillOpen && code != kExitBadArgument) code = kExitFolderNotNameable;
  LogStep("Failed (exit code %d): %s", code, reason);
  return code;
}

int InstallSilently(const char* requested) {
  LogStep("Silent installation of %s %s", kProductName, kProductVersion);
  char folder[kPathSize] = {};
  if (requested[0] != '\0') {
    CopyStringBounded(folder, requested, sizeof folder);
  } else if (!CLocationDlg::ChooseFirstProposal(folder)) {
    return Fail(kExitFolderNotCreatable, "no folder could be proposed to install into");
  }
  // "/D=" as typed: the wide command line keeps the letters the code page lacks.
  if (requested[0] != '\0' && !RequestedFolderName(requested, folder)) {
    return Fail(kExitFolderNotCreatable, "the folder's name can not be used");
  }
  LogStep("Program folder: %s", folder);
  // The same checks as the location page's Next.
  char full[kPathSize] = {};
  if (!IsAbsolutePath(folder) || CheckProgramFolder(folder, full) != kFolderUsable) {
    return Fail(kExitFolderNotCreatable,
                "the folder is not a full path of its own (a drive or share root, or a folder of Windows or of the "
                "user profile)");
  }
  if (strlen(full) > kMaxTargetLength) return Fail(kExitFolderNotCreatable, "the folder's path is too long");
  CopyStringBounded(g_state.targetFolder, full, sizeof g_state.targetFolder);
  if (::GetCurrentDirectoryA(236, g_state.sourceFolder) == 0) g_state.sourceFolder[0] = '\0';
  if (_stricmp(g_state.targetFolder, g_state.sourceFolder) == 0) {
    return Fail(kExitFolderNotCreatable, "the folder is the one the installer runs from");
  }

  LogStep("Closing a running converter");
  if (!CloseRunningConverter(nullptr)) return Fail(kExitConverterStillOpen, "the running converter did not close");

  if (!CreateFolderPath(nullptr, g_state.targetFolder, 0) || !PathExists(g_state.targetFolder)) {
    return Fail(kExitFolderNotCreatable, "the folder could not be created");
  }
  CopyStringBounded(g_state.programDir, g_state.targetFolder, sizeof g_state.programDir);
  WriteRegString(kConfigureKey, kProgramDirValue, g_state.targetFolder, ProductRegKey);
  // Leave the target folder, so nothing holds it as working directory.
  char root[4] = {g_state.targetFolder[0], ':', '\\', '\0'};
  _chdir(root);

  LogStep("Writing the files");
  if (!InstallPayload(nullptr)) return Fail(kExitFileNotWritable, "a file of the program could not be written");
  LogStep("Writing the uninstall entry");
  if (!WriteUninstallEntry(g_state.programDir)) {
    return Fail(kExitFileNotWritable, "the uninstall entry could not be written");
  }
  LogStep("Creating the shortcuts and the group");
  RemoveAllShortcuts(nullptr, true);
  if (!CreateAllShortcuts(nullptr, g_state.programDir)) {
    return Fail(kExitFileNotWritable, "the shortcuts or the group could not be created");
  }
  LogStep("Installed");
  return kExitSuccess;
}

// The copy runs silently too; a package manager waits for this process, so
// this one waits for the copy and passes on its result.
int RelaySilently() {
  LogStep("Silent uninstall of %s", kProductName);
  char temporary[kPathSize];
  char copy[kPathSize];
  if (!CopyUninstallerOut(nullptr, copy, temporary)) return Fail(kExitNotInstalled, "the uninstaller could not be copied");
  char line[2 * kPathSize];
  snprintf(line, sizeof line, "\"%s\" %s %s", copy, kUninstallRelayArgument, kSilentSwitch);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!::CreateProcessA(copy, line, nullptr, nullptr, FALSE, 0, nullptr, temporary, &startup, &process)) {
    return Fail(kExitNotInstalled, "the copy of the uninstaller could not be started");
  }
  ::CloseHandle(process.hThread);
  ::WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = kExitCancelled;
  ::GetExitCodeProcess(process.hProcess, &code);
  ::CloseHandle(process.hProcess);
  return static_cast<int>(code);
}

// The relay that started this copy runs from the installed uninstaller and
// waits for it. A running program cannot be deleted, but it can be moved: out
// of the program folder, next to this copy (the same temporary folder, so the
// next uninstall's copy step finds it there).
void ParkWaitingRelay() {
  char own[kPathSize] = {};
  char* name = OwnProgramPath(nullptr, own) ? strrchr(own, '\\') : nullptr;
  if (name == nullptr) return;
  *name = '\0';
  char parked[kPathSize];
  char installed[kPathSize];
  if (!JoinPath(parked, own, "qtrasx.old") || !JoinPath(installed, g_state.programDir, kInstallerFileName)) return;
  const DWORD attributes = ::GetFileAttributesA(installed);
  // A link is no running program of ours; it goes with the folder as it is.
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return;
  if (PathExists(parked) && !::DeleteFileA(parked)) return;
  if (::MoveFileExA(installed, parked, 0)) LogStep("Moved the running uninstaller to %s", parked);
}

int UninstallSilently() {
  if (!FindRecordedInstallation()) {
    return Fail(kExitNotInstalled, "no installation was found in the recorded folder");
  }
  LogStep("Program folder: %s", g_state.programDir);
  LogStep("Closing a running converter");
  if (!CloseRunningConverter(nullptr)) return Fail(kExitConverterStillOpen, "the running converter did not close");
  ParkWaitingRelay();
  LogStep("Deleting the folder");
  char folder[kPathSize];
  CopyStringBounded(folder, g_state.programDir, sizeof folder);
  const bool removed = DeleteFolderTree(folder) != 0;
  LogStep("Removing the shortcuts and the group");
  RemoveAllShortcuts(nullptr, false);
  const int code = ReportUninstall(nullptr, removed);
  if (code != kExitSuccess) return Fail(code, "the folder could not be fully removed");
  return code;
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
      return UninstallSilently();
    case kActionBadArgument:
      break;
  }
  return Fail(kExitBadArgument, "unknown or misplaced switch");
}

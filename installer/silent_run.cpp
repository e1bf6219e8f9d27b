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
#include "installer/uninstall_relay.h"
#include "installer/uninstall_steps.h"

int Fail(int code, const char* reason) {
  // A folder this Windows could not name for us is why later steps failed.
  if (FolderNameFailed() && code != kExitConverterStillOpen && code != kExitBadArgument) code = kExitFolderNotNameable;
  LogStep("Failed (exit code %d): %s", code, reason);
  return code;
}

namespace {

// Where a per-user program belongs when nobody chose a folder: inside the
// user's own profile, where no other user of the machine can change it.
bool PerUserProgramFolder(char* folder) {
  char local[kPathSize];
  return GetSpecialFolder(nullptr, CSIDL_LOCAL_APPDATA, local) && JoinPath(folder, local, "Programs\\Quantara");
}

int InstallSilently(const char* requested) {
  LogStep("Silent installation of %s %s", kProductName, kProductVersion);
  // As the pages do: the converter is asked to close first.
  LogStep("Closing a running converter");
  if (!CloseRunningConverter(nullptr)) return Fail(kExitConverterStillOpen, "the running converter did not close");
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
  if (::GetCurrentDirectoryA(236, g_state.sourceFolder) == 0) g_state.sourceFolder[0] = '\0';
  // The same checks and steps as the location page's Next and the backdrop's links.
  const char* reason = "";
  const int verdict = CInstallPlan::CheckFolder(nullptr, folder, g_state.targetFolder, &reason);
  if (verdict != kExitSuccess) return Fail(verdict, reason);
  g_plan.Build(nullptr);
  const int written = g_plan.Apply(false);
  if (written != kExitSuccess) {
    return Fail(written, written == kExitFolderNotCreatable
                             ? "the folder could not be created"
                             : "a file of the program could not be written; nothing was changed");
  }
  if (g_plan.Apply(true) != kExitSuccess) {
    return Fail(kExitFileNotWritable, "the shortcuts or the group could not be created; nothing was changed");
  }
  g_plan.Finish(nullptr);
  LogStep("Installed");
  return kExitSuccess;
}

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
  char arguments[2 * kPathSize];
  const int length = snprintf(arguments, sizeof arguments, "%s %s %s%s", kUninstallRelayArgument, kSilentSwitch,
                              kFolderSwitch, folder);
  if (length < 0 || static_cast<size_t>(length) >= sizeof arguments) {
    return Fail(kExitNotInstalled, "the path is too long");
  }
  return RunCopyAndWait(copy, temporary, arguments);
}

int UninstallSilently(const char* own) {
  if (!FindRecordedInstallation(own)) {
    return Fail(kExitNotInstalled, "no installation was found in the recorded folder");
  }
  LogStep("Program folder: %s", g_state.programDir);
  LogStep("Closing a running converter");
  if (!CloseRunningConverter(nullptr)) return Fail(kExitConverterStillOpen, "the running converter did not close");
  const int code = UninstallProgram(nullptr);
  if (code != kExitSuccess) return Fail(code, "the folder could not be fully removed");
  return code;
}

}  // namespace

int RunSilently(const InstallerCommand& command) {
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

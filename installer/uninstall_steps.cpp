#include "installer/uninstall_steps.h"

#include <shlobj.h>

#include <cstring>

#include "common/file_safety.h"
#include "common/install_rules.h"
#include "common/registry.h"
#include "common/strings.h"
#include "installer/folders.h"
#include "installer/install_modes.h"
#include "installer/installer_state.h"
#include "installer/payload.h"
#include "installer/uninstall_entry.h"

bool FindRecordedInstallation() {
  // Read whole: a folder longer than any installation's is refused below, not
  // cut into the name of another folder.
  ReadRegString(kConfigureKey, kProgramDirValue, "", g_state.programDir, sizeof g_state.programDir, ProductRegKey);
  const bool tooLong = strlen(g_state.programDir) > kMaxTargetLength;
  TrimTrailingBackslashes(g_state.programDir);
  // Only a folder that holds the converter is taken for the installation: the
  // recorded value may name a folder of the user's own, and deleting that would
  // lose the user's files. A drive, a share or a system folder is never one,
  // whatever it holds ("X:\." and "X:\a\.." name the drive itself).
  // An uninstall that was stopped half-way may have taken the converter but
  // left the uninstaller, which marks the folder as ours just as well.
  char uninstaller[kPathSize];
  const bool ours = HoldsConverter(g_state.programDir) ||
                    (JoinPath(uninstaller, g_state.programDir, kInstallerFileName) && PathExists(uninstaller));
  return !tooLong && g_state.programDir[0] != '\0' && PathExists(g_state.programDir) && ours &&
         CheckProgramFolder(g_state.programDir, nullptr) == kFolderUsable;
}

int ReportUninstall(HWND owner, bool folderRemoved) {
  char left[256] = {};
  const int entries = folderRemoved ? 0 : ListFolderEntries(g_state.programDir, left, sizeof left);
  char uninstaller[kPathSize];
  const bool uninstallerLeft = JoinPath(uninstaller, g_state.programDir, kInstallerFileName) && PathExists(uninstaller);
  // A folder that is still there is read again: the entries listed are what remains.
  const UninstallOutcome outcome = JudgeUninstall(folderRemoved || !PathExists(g_state.programDir), entries > 0,
                                                  uninstallerLeft);
  if (outcome.removeSettings) {
    RemoveRegistrations();
  } else if (outcome.removeEntry) {
    RemoveUninstallEntry();
  }
  char text[1024];
  if (!FormatUninstallReport(outcome, kProductName, g_state.programDir, left, text, sizeof text)) {
    CopyStringBounded(text, "The UnInstall could not remove everything.", sizeof text);
  }
  ShowMessage(owner, kProductName, outcome.result == kUninstallComplete ? MB_ICONINFORMATION : MB_ICONWARNING, "%s",
              text);
  return outcome.result == kUninstallComplete ? kExitSuccess : kExitFolderNotRemoved;
}

bool CopyUninstallerOut(HWND owner, char* copy, char* temporary) {
  char programDir[kPathSize] = {};
  ReadRegString(kConfigureKey, kProgramDirValue, "", programDir, sizeof programDir, ProductRegKey);
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
  if (!JoinPath(temporary, local, "TEMP\\qtra") || !JoinPath(source, programDir, kInstallerFileName) ||
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
  if (free && ::CopyFileA(source, copy, FALSE)) return true;
  ReportNotCopied(owner, source, copy);
  return false;
}

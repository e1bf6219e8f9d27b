#include "installer/install_modes.h"

#include <shlobj.h>

#include <cstdio>

#include "common/registry.h"
#include "common/strings.h"
#include "installer/folder_security.h"
#include "installer/folders.h"
#include "installer/install_plan.h"
#include "installer/installer_state.h"
#include "resource.h"

namespace {
void Inform(HWND owner, int showMessage, const char* text) {
  if (showMessage) ::MessageBoxA(owner, text, kProductName, MB_ICONINFORMATION);
}

// {special folder}\Marlowbrook\qtra when the special folder is found and exists.
int TryBelowSpecialFolder(HWND owner, int folderId, int mode, char* folder, int showMessage,
                          const char* notFound, const char* noAccess) {
  char special[kPathSize];
  if (!GetSpecialFolder(owner, folderId, special)) {
    g_state.mode = 0;
    Inform(owner, showMessage, notFound);
    return 0;
  }
  if (!PathExists(special)) {
    g_state.mode = 0;
    Inform(owner, showMessage, noAccess);
    return 0;
  }
  snprintf(folder, kPathSize, "%s\\Marlowbrook\\qtra", special);
  g_state.mode = mode;
  return 1;
}
}  // namespace

bool HoldsConverter(const char* folder) {
  char program[kPathSize];
  return folder[0] != '\0' && JoinPath(program, folder, kConverterFileName) && PathExists(program);
}

int TryShortPath(HWND owner, char* folder, int showMessage) {
  // Whether the folder can be made is tried by making it; one made only for
  // the try goes again, so a proposal nobody takes leaves nothing behind. The
  // installation makes it for good.
  const bool made = CreateOwnFolder(g_state.shortPathFolder);
  const bool exists = PathExists(g_state.shortPathFolder);
  // One that holds other people's files would only be refused at Next.
  const bool taken = exists && CInstallPlan::Accepts(g_state.shortPathFolder);
  if (made) ::RemoveDirectoryA(g_state.shortPathFolder);
  if (taken) {
    CopyStringBounded(folder, g_state.shortPathFolder, kPathSize);
    g_state.mode = IDC_MODE_SHORT_PATH;
    return 1;
  }
  g_state.mode = 0;
  if (showMessage && exists) {
    ShowMessage(owner, kProductName, MB_ICONINFORMATION, "%s already holds files that are not part of %s.",
                g_state.shortPathFolder, kProductName);
  } else if (showMessage) {
    ShowMessage(owner, kProductName, MB_ICONINFORMATION, "Unable to read/write access %s", g_state.shortPathFolder);
  }
  return 0;
}

int TryLocalUser(HWND owner, char* folder, int showMessage) {
  return TryBelowSpecialFolder(owner, CSIDL_LOCAL_APPDATA, IDC_MODE_LOCAL_USER, folder, showMessage,
                               "Unable to access your Local Folder.", "Unable to read/write access your Local Folder.");
}

int TryProgramFiles(HWND owner, char* folder, int showMessage) {
  return TryBelowSpecialFolder(owner, CSIDL_PROGRAM_FILES, IDC_MODE_PROGRAM_FILES, folder, showMessage,
                               "Unable to access your [Program Files] Folder.",
                               "Unable to read/write access your [Program Files] Folder.");
}

int TryRoamingUser(HWND owner, char*, int showMessage) {
  g_state.mode = IDC_MODE_LOCAL_USER;
  Inform(owner, showMessage, "Roaming will be available in future versions.");
  return 0;
}

int TryMultiUser(HWND owner, char*, int showMessage) {
  g_state.mode = IDC_MODE_LOCAL_USER;
  Inform(owner, showMessage, "Multi User will be available in future versions.");
  return 0;
}

bool FindUpgradeFolder(char* folder, size_t readSize) {
  char recorded[kPathSize] = {};
  ReadRegString(kConfigureKey, kProgramDirValue, "", recorded, readSize, ProductRegKey);
  if (HoldsConverter(recorded)) {
    CopyStringBounded(folder, recorded, kPathSize);
  } else if (PathExists(g_state.defaultUpgradeFolder) && CInstallPlan::Accepts(g_state.defaultUpgradeFolder)) {
    CopyStringBounded(folder, g_state.defaultUpgradeFolder, kPathSize);
  } else {
    return false;
  }
  g_state.mode = IDC_MODE_UPGRADE;
  return true;
}

int TryUpgrade(HWND owner, char* folder, int showMessage) {
  if (FindUpgradeFolder(folder, 235)) return 1;
  g_state.mode = IDC_MODE_LOCAL_USER;
  Inform(owner, showMessage, "Unable to find a previous installation to upgrade.");
  return 0;
}

int RunModeChain(HWND owner, int modeId, char* folder) {
  folder[0] = '\0';
  bool found = false;
  switch (modeId) {
    case IDC_MODE_SHORT_PATH:
      found = TryShortPath(owner, folder, 1) || TryUpgrade(owner, folder, 0) || TryLocalUser(owner, folder, 1);
      break;
    case IDC_MODE_LOCAL_USER:
      found = TryLocalUser(owner, folder, 1);
      break;
    case IDC_MODE_PROGRAM_FILES:
      found = TryProgramFiles(owner, folder, 1) || TryUpgrade(owner, folder, 0) || TryShortPath(owner, folder, 0) ||
              TryLocalUser(owner, folder, 1);
      break;
    case IDC_MODE_ROAMING_USER:
      found = TryRoamingUser(owner, folder, 1) || TryUpgrade(owner, folder, 0) || TryShortPath(owner, folder, 0) ||
              TryLocalUser(owner, folder, 1);
      break;
    case IDC_MODE_MULTI_USER:
      found = TryMultiUser(owner, folder, 1) || TryUpgrade(owner, folder, 0) || TryShortPath(owner, folder, 0) ||
              TryLocalUser(owner, folder, 1);
      break;
    case IDC_MODE_UPGRADE:
      found = TryUpgrade(owner, folder, 1) || TryShortPath(owner, folder, 0) || TryLocalUser(owner, folder, 1);
      break;
    default:
      break;
  }
  return found && g_state.mode != 0 ? 1 : 0;
}

#include "installer/uninstall_entry.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "common/install_rules.h"

#include "common/registry.h"
#include "common/strings.h"
#include "converter/support/web_addresses.h"
#include "installer/folders.h"
#include "installer/installer_state.h"

const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quantara";
const char kProductPageUrl[] = QTRA_PRODUCT_URL;
// Always the newest installer; each version's own stays under download/<version>/.
const char kInstallerDownloadUrl[] = "http://www.marlowbrook.example/download/qtrasx.exe";

namespace {
// U.S. English, the language of both programs' resources.
const DWORD kProgramLanguage = 0x0409;

void SetText(HKEY key, const char* name, const char* text) {
  ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), static_cast<DWORD>(strlen(text) + 1));
}

void SetNumber(HKEY key, const char* name, DWORD value) {
  ::RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}
}  // namespace

unsigned long FolderSizeKilobytes(const char* folder) {
  unsigned long kilobytes = 0;
  ForEachFolderEntry(folder, [&](const WIN32_FIND_DATAA& entry) {
    // A file this run replaces is gone once it succeeds.
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && strstr(entry.cFileName, kBackupSuffix) == nullptr)
      kilobytes += (entry.nFileSizeLow + 1023) / 1024 + entry.nFileSizeHigh * 4194304ul;
    return true;
  });
  return kilobytes;
}

int WriteUninstallEntry(const char* programDir) {
  char folder[kPathSize];
  CopyStringBounded(folder, programDir, sizeof folder);
  TrimTrailingBackslashes(folder);

  HKEY key = nullptr;
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, kUninstallKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return 0;
  }
  char text[2 * kPathSize];
  SetText(key, "DisplayName", kProductName);
  snprintf(text, sizeof text, "\"%s%s%s\" %s", folder, "\\", kInstallerFileName, kUninstallArgument);
  SetText(key, "UninstallString", text);
  // What package managers and administrators' scripts run: no window, and the
  // outcome as exit code.
  snprintf(text, sizeof text, "\"%s%s%s\" %s %s", folder, "\\", kInstallerFileName, kUninstallArgument, kSilentSwitch);
  SetText(key, "QuietUninstallString", text);
  SetText(key, "InstallLocation", folder);
  SetText(key, "Publisher", kCompanyName);
  SetText(key, "URLInfoAbout", kProductPageUrl);
  SetText(key, "URLUpdateInfo", kInstallerDownloadUrl);
  // What the system's list of programs shows beside the name.
  SetText(key, "DisplayVersion", kProductVersion);
  snprintf(text, sizeof text, "%s%s%s", folder, "\\", kConverterFileName);
  SetText(key, "DisplayIcon", text);
  SetNumber(key, "EstimatedSize", FolderSizeKilobytes(folder));
  // The day of this installation, as the system's list of programs shows it.
  SYSTEMTIME today = {};
  ::GetLocalTime(&today);
  snprintf(text, sizeof text, "%04u%02u%02u", static_cast<unsigned>(today.wYear), static_cast<unsigned>(today.wMonth),
           static_cast<unsigned>(today.wDay));
  SetText(key, "InstallDate", text);
  SetText(key, "HelpLink", kFaqUrl);
  SetNumber(key, "Language", kProgramLanguage);
  // Package managers compare these when DisplayVersion is not enough.
  SetNumber(key, "VersionMajor", QTRA_VERSION_MAJOR);
  SetNumber(key, "VersionMinor", QTRA_VERSION_MINOR);
  SetNumber(key, "NoModify", 1);
  SetNumber(key, "NoRepair", 1);
  ::RegCloseKey(key);
  return 1;
}

int DeleteRegistryTree(const char* path) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return 1;
  char child[kPathSize];
  for (;;) {
    DWORD size = sizeof child;
    if (::RegEnumKeyExA(key, 0, child, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    char childPath[2 * kPathSize];
    snprintf(childPath, sizeof childPath, "%s\\%s", path, child);
    if (!DeleteRegistryTree(childPath)) break;
  }
  ::RegCloseKey(key);
  return ::RegDeleteKeyA(HKEY_CURRENT_USER, path) == ERROR_SUCCESS ? 1 : 0;
}

namespace {
// Deletes a key only when nothing is left in it (no sub-keys, no values).
void DeleteKeyIfEmpty(const char* path) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return;
  DWORD subKeys = 0;
  DWORD values = 0;
  LONG status = ::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr,
                                   nullptr, nullptr, nullptr);
  ::RegCloseKey(key);
  if (status == ERROR_SUCCESS && subKeys == 0 && values == 0) ::RegDeleteKeyA(HKEY_CURRENT_USER, path);
}
}  // namespace

void RemoveUninstallEntry() { DeleteRegistryTree(kUninstallKey); }

void DeleteEmptyParentKeys() {
  const std::string configure = std::string(ProductRegKey) + "\\" + kConfigureKey;
  DeleteKeyIfEmpty(configure.c_str());
  DeleteKeyIfEmpty(ProductRegKey);
  DeleteKeyIfEmpty("Software\\Marlowbrook\\Applications");
  DeleteKeyIfEmpty("Software\\Marlowbrook");
}

void RemoveRegistrations() {
  RemoveUninstallEntry();
  DeleteRegistryTree(ProductRegKey);
  DeleteEmptyParentKeys();
}

bool ReadInstallLocation(char* folder, size_t size) {
  folder[0] = '\0';
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, kUninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  DWORD type = 0;
  DWORD bytes = static_cast<DWORD>(size);
  const LONG status = ::RegQueryValueExA(key, "InstallLocation", nullptr, &type, reinterpret_cast<BYTE*>(folder), &bytes);
  ::RegCloseKey(key);
  // A value that does not fit, or is no text, names no folder of ours.
  if (status != ERROR_SUCCESS || type != REG_SZ || bytes == 0 || bytes > size || folder[bytes - 1] != '\0') {
    folder[0] = '\0';
    return false;
  }
  return true;
}

#include "converter/app/settings.h"

#include <io.h>
#include <windows.h>

#include <cstring>

#include "common/registry.h"
#include "common/strings.h"
#include "converter/app/app_state.h"
#include "converter/app/page_tab_ctrl.h"
#include "converter/pages/conversion_page.h"

namespace {
const char kOptions[] = "Options";
// At most 257 characters of a stored folder are read.
const size_t kProgramDirReadSize = 258;
// A current directory must fit in 235 characters.
const DWORD kCurrentDirSize = 236;
}  // namespace

void LoadAllSettings() {
  memset(ProgramDir, 0, sizeof ProgramDir);
  ReadRegString(kConfigureKey, kProgramDirValue, "", ProgramDir, kProgramDirReadSize, ProductRegKey);
  // A stored folder that filled the buffer may have been cut, and a cut path
  // names another folder: it is not taken.
  if (ProgramDir[0] == '\0' || strlen(ProgramDir) >= kProgramDirReadSize - 1 || _access(ProgramDir, 0) != 0) {
    DWORD length = ::GetCurrentDirectoryA(kCurrentDirSize, ProgramDir);
    // Too long a folder is not cut (a cut path names another folder): it stays empty.
    if (length == 0 || length >= kCurrentDirSize) ProgramDir[0] = '\0';
    WriteRegString(kConfigureKey, kProgramDirValue, ProgramDir, ProductRegKey);
  }
  TrimTrailingSeparators(ProgramDir);

  LastTab = ReadRegInt(kConfigureKey, "LastTab", LastTab, ProductRegKey);
  // The tab index selects a page object: anything but 0 to 6 shows the first page.
  if (LastTab < 0 || LastTab >= kCategoryCount) LastTab = 0;
  UseSystemTray = ReadRegInt(kOptions, "UseSystemTray", UseSystemTray, ProductRegKey);
  HideInTrayOnStartup = ReadRegInt(kOptions, "HideInTrayOnStartup", HideInTrayOnStartup, ProductRegKey);
}

void SaveAllSettings() {
  for (int tab = 0; tab < kCategoryCount; ++tab) {
    CConversionPage* page = PageTabs != nullptr ? PageTabs->Page(tab) : nullptr;
    if (page != nullptr && page->m_hWnd != nullptr) page->SaveSettings();
  }
  WriteRegInt(kConfigureKey, "LastTab", LastTab, ProductRegKey);
  WriteRegInt(kOptions, "UseSystemTray", UseSystemTray, ProductRegKey);
  WriteRegInt(kOptions, "HideInTrayOnStartup", HideInTrayOnStartup, ProductRegKey);
}

#include "converter/support/documents.h"

#include <shellapi.h>

#include <cstdio>
#include <cstring>

#include "common/product.h"
#include "common/ui_helpers.h"
#include "converter/app/app_state.h"
#include "converter/support/browser_command.h"

namespace {

constexpr const char* kHelpPageName = kHelpPageFileName;
const WORD kHelpPageResource = 150;
const WORD kBackgroundResource = 145;
const size_t kPathSize = 261;

// Browser registrations, most personal first.
struct BrowserKey {
  HKEY root;
  const char* path;
};
const BrowserKey kBrowserKeys[] = {
    {HKEY_CURRENT_USER, "Software\\CLASSES\\http\\shell\\open\\command"},
    {HKEY_LOCAL_MACHINE, "Software\\CLASSES\\http\\shell\\open\\command"},
    {HKEY_CLASSES_ROOT, "http\\shell\\open\\command"},
};

bool IsExistingFile(const char* path) {
  DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void ProgramFilePath(const char* fileName, char* path, size_t size) {
  snprintf(path, size, "%s%s%s", ProgramDir, "\\", fileName);
}

// ShellExecuteA's result is a number dressed as a handle: above 32 is success.
INT_PTR ShellOpen(HWND window, const char* file, const char* parameters, const char* folder) {
  HINSTANCE result = ShellExecuteA(window, "open", file, parameters, folder, SW_SHOWMAXIMIZED);
  return reinterpret_cast<INT_PTR>(result);
}

}  // namespace

int WriteSupportFiles(HWND owner) {
  char path[kPathSize];
  ProgramFilePath(kHelpPageName, path, sizeof(path));
  if (!SaveResourceToFile(owner, kHelpPageResource, path)) return 0;
  ProgramFilePath("bg_sky.jpg", path, sizeof(path));
  return SaveResourceToFile(owner, kBackgroundResource, path);
}

int FindBrowserCommand(char* output, size_t size) {
  for (const BrowserKey& location : kBrowserKeys) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(location.root, location.path, 0, KEY_READ, &key) != ERROR_SUCCESS) continue;
    char command[520];
    memset(command, 0, sizeof(command));
    DWORD type = REG_SZ;
    DWORD length = sizeof(command) - 1;  // keep a terminator even for a full-length value
    int parsed = 0;
    if (RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(command), &length) ==
        ERROR_SUCCESS) {
      parsed = ParseBrowserPath(command, output, size, IsExistingFile);
    }
    RegCloseKey(key);
    if (parsed) return parsed;
  }
  return 0;
}

int OpenHelpPage(HWND owner) {
  char url[520];
  snprintf(url, sizeof(url), "file:///%s%s%s", ProgramDir, "\\", kHelpPageName);

  char browser[kPathSize];
  if (FindBrowserCommand(browser, sizeof(browser)) && ShellOpen(owner, browser, url, ProgramDir) > 32) return 1;

  // No usable browser registration: let the page's file association decide.
  char page[kPathSize];
  ProgramFilePath(kHelpPageName, page, sizeof(page));
  INT_PTR result = ShellOpen(owner, page, nullptr, ProgramDir);
  if (result > 32) return 1;

  char message[kPathSize + 160];
  snprintf(message, sizeof(message),
           "Unable to open:\n%s\nin your Web Browser.\n\nError [%d]\n\nTry using your Web Browser and load it from there.",
           page, static_cast<int>(result));
  MessageBoxA(owner, message, kProductName, MB_OK | MB_ICONSTOP);
  return 0;
}

int OpenProgramDocument(HWND owner, const char* fileName) {
  char path[kPathSize];
  ProgramFilePath(fileName, path, sizeof(path));
  if (ShellOpen(owner, path, nullptr, ProgramDir) > 32) return 1;

  char message[kPathSize + 120];
  snprintf(message, sizeof(message),
           "Unable to open:\n%s\n\nUse another Editor, Word Processor, or Email Program to open it.", path);
  MessageBoxA(owner, message, kProductName, MB_OK | MB_ICONSTOP);
  return 0;
}

void OpenWebPage(HWND owner, const char* url) { ShellOpen(owner, url, nullptr, ProgramDir); }

void ShowPhoneSupport(HWND owner) {
  MessageBoxA(owner,
              "Tech-Support By Phone\n"
              "\n"
              "1. Define your problem.\n"
              "\n"
              "2. Call us . . .\n"
              "When we answer the phone, tell us:\n"
              "o The name of the program - Quantara.\n"
              "\n"
              "Tech-Support Phone Dialwick",
              kProductName, MB_OK | MB_ICONINFORMATION);
}

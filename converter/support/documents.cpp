#include "converter/support/documents.h"

#include <shellapi.h>

#include <cstdio>
#include <cstring>

#include "common/file_safety.h"
#include "common/paths.h"
#include "common/product.h"
#include "common/ui_helpers.h"
#include "common/wide_text.h"
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

// Program folder + "\" + file name; false (and `path` empty) when it does not
// fit: a cut name would open or overwrite another file.
bool ProgramFilePath(const char* fileName, char* path, size_t size) {
  return JoinPathChecked(path, size, ProgramDir, fileName);
}

// A support file is written only under its whole name, and never through a
// link that leads out of the program folder.
int WriteProgramFile(HWND owner, const char* fileName, WORD resourceId) {
  char path[kPathSize];
  if (!ProgramFilePath(fileName, path, sizeof(path)) || !ClearLinkForWriting(path, ProgramDir)) return 0;
  return SaveResourceToFile(owner, resourceId, path);
}

// ShellExecuteA's result is a number dressed as a handle: above 32 is success.
INT_PTR ShellOpen(HWND window, const char* file, const char* parameters, const char* folder) {
  HINSTANCE result = ShellExecuteA(window, "open", file, parameters, folder, SW_SHOWMAXIMIZED);
  return reinterpret_cast<INT_PTR>(result);
}

}  // namespace

int WriteSupportFiles(HWND owner) {
  if (!WriteProgramFile(owner, kHelpPageName, kHelpPageResource)) return 0;
  return WriteProgramFile(owner, kPictureFileName, kBackgroundResource);
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
  char page[kPathSize];
  char url[9 * kPathSize + 16];  // every byte of the path may take three characters
  // A page path that does not fit is not opened under a cut name; the failure
  // is reported as for a page the shell could not find.
  INT_PTR result = SE_ERR_PNF;
  if (ProgramFilePath(kHelpPageName, page, sizeof(page))) {
    // A file address is UTF-8 with every space and letter beyond ASCII escaped, so
    // the browser reads one whole address whatever the folder's name holds.
    char utf8[3 * kPathSize];
    char browser[kPathSize];
    if (ProgramTextToUtf8(page, utf8, sizeof(utf8)) && FileUrlOf(utf8, url, sizeof(url)) &&
        FindBrowserCommand(browser, sizeof(browser)) && ShellOpen(owner, browser, url, ProgramDir) > 32) {
      return 1;
    }
    // No usable browser registration: let the page's file association decide.
    result = ShellOpen(owner, page, nullptr, ProgramDir);
    if (result > 32) return 1;
  }

  char message[2 * kPathSize + 160];
  snprintf(message, sizeof(message),
           "Unable to open:\n%s\\%s\nin your Web Browser.\n\nError [%d]\n\nTry using your Web Browser and load it from there.",
           ProgramDir, kHelpPageName, static_cast<int>(result));
  MessageBoxA(owner, message, kProductName, MB_OK | MB_ICONSTOP);
  return 0;
}

int OpenProgramDocument(HWND owner, const char* fileName) {
  char path[kPathSize];
  if (ProgramFilePath(fileName, path, sizeof(path)) && ShellOpen(owner, path, nullptr, ProgramDir) > 32) return 1;

  // The message names the file whole, also when its path was too long to open.
  char message[2 * kPathSize + 120];
  snprintf(message, sizeof(message),
           "Unable to open:\n%s\\%s\n\nUse another Editor, Word Processor, or Email Program to open it.", ProgramDir,
           fileName);
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

#include "converter/support/support_form.h"

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/file_safety.h"
#include "common/paths.h"
#include "common/product.h"
#include "common/strings.h"
#include "converter/app/app_state.h"
#include "converter/support/support_form_text.h"
#include "converter/support/system_description.h"
#include "converter/support/web_addresses.h"

namespace {

const WORD kTemplateResource = 144;

void ShowFailure(HWND owner, const char* text) { MessageBoxA(owner, text, kProductName, MB_OK | MB_ICONSTOP); }

void ShowFailure(HWND owner, const char* format, const char* path) {
  char message[512];
  snprintf(message, sizeof(message), format, path);
  ShowFailure(owner, message);
}

// The template as embedded, or null (size 0) when it is missing or empty.
const char* LockTemplate(DWORD* size) {
  *size = 0;
  HRSRC info = FindResourceA(nullptr, MAKEINTRESOURCEA(kTemplateResource), MAKEINTRESOURCEA(10));  // RT_RCDATA
  if (info == nullptr) return nullptr;
  HGLOBAL loaded = LoadResource(nullptr, info);
  *size = SizeofResource(nullptr, info);
  const char* data = loaded != nullptr ? static_cast<const char*>(LockResource(loaded)) : nullptr;
  return *size != 0 ? data : nullptr;
}

// Writes the page as email_ts.htm; false after telling the user why not.
bool WriteFormFile(HWND owner, const char* path, char* page) {
  int file = _open(path, _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, _S_IREAD | _S_IWRITE);
  if (file < 0) {
    ShowFailure(owner, "Could not create [Marlowbrook email form] file:\n%s\nCheck hard-drive.", path);
    return false;
  }
  unsigned length = static_cast<unsigned>(strlen(page));
  int written = _write(file, page, length);
  _close(file);
  if (written < 0 || static_cast<unsigned>(written) != length) {
    ShowFailure(owner, "Could not write [Marlowbrook email form] file:\n%s\nCheck hard-drive.", path);
    return false;
  }
  return true;
}

// Fills, writes and opens the form; the buffers belong to the caller.
int WriteAndOpenForm(HWND owner, const SupportFormValues& values, const char* templateText, DWORD templateSize,
                     char* mailBody, size_t mailBodySize) {
  FormatSupportMailBody(values, mailBody, mailBodySize);

  size_t pageSize = SupportFormPageSize(values, mailBody, templateSize);
  char* page = static_cast<char*>(calloc(pageSize, 1));
  if (page == nullptr) {
    ShowFailure(owner, "Not enough local memory to run [Marlowbrook email form](1).");
    return 0;
  }
  FormArgument arguments[kSupportFormArgumentCount];
  SupportFormArguments(values, mailBody, arguments);
  int opened = 0;
  // The sizing leaves room for every escaped value and the final CR LF; -1
  // means a template whose placeholders do not fit the values: nothing to show.
  if (FillTemplate(templateText, arguments, kSupportFormArgumentCount, page, pageSize) >= 0) {
    char path[261];
    // Written only under its whole name and never through a link out of the folder.
    bool writable = JoinPathChecked(path, sizeof(path), ProgramDir, kSupportFormFileName) && ClearLinkForWriting(path, ProgramDir);
    TrimTrailingBlanks(page);
    size_t length = strlen(page);
    snprintf(page + length, pageSize - length, "\r\n");
    if (!writable) {
      char shown[2 * sizeof(path)];
      snprintf(shown, sizeof(shown), "%s\\%s", ProgramDir, kSupportFormFileName);
      ShowFailure(owner, "Could not create [Marlowbrook email form] file:\n%s\nCheck hard-drive.", shown);
    } else if (WriteFormFile(owner, path, page)) {
      HINSTANCE result = ShellExecuteA(owner, "open", path, nullptr, nullptr, SW_SHOWMAXIMIZED);
      if (reinterpret_cast<INT_PTR>(result) > 32) {
        opened = 1;
      } else {
        char message[800];
        snprintf(message, sizeof(message),
                 "Unable to open your web-browser to the Marlowbrook email form at:\n%s\n\n\nPlease type the "
                 "following URL into your web-browse and goto it.\n\n%s\n\nMarlowbrook Tech-Support phone Dialwick.",
                 path, kEmailPageUrl);
        ShowFailure(owner, message);
      }
    }
  }
  free(page);
  return opened;
}

}  // namespace

int SendSupportEmailForm(HWND owner, const char* subject, const char* messageText, const char* bodyText) {
  DWORD templateSize = 0;
  const char* resource = LockTemplate(&templateSize);
  if (resource == nullptr) return 0;

  char* templateText = static_cast<char*>(calloc(templateSize + 1, 1));
  if (templateText == nullptr) {
    ShowFailure(owner, "Not enough local memory to run [Marlowbrook email form](3).");
    return 0;
  }
  memcpy(templateText, resource, templateSize);

  RECT screen = {0, 0, 0, 0};
  GetWindowRect(GetDesktopWindow(), &screen);
  // The converter keeps no user identity: name and address are for the user to fill in.
  SupportFormValues values = {SystemDescription, screen.right - screen.left, screen.bottom - screen.top,
                              kProductName, kProductVersion, "", "", subject, messageText, bodyText};

  int opened = 0;
  size_t mailBodySize = SupportMailBodySize(values);
  char* mailBody = static_cast<char*>(calloc(mailBodySize, 1));
  if (mailBody == nullptr) {
    ShowFailure(owner, "Not enough local memory to run [Marlowbrook email form](2).");
  } else {
    opened = WriteAndOpenForm(owner, values, templateText, templateSize, mailBody, mailBodySize);
    free(mailBody);
  }
  free(templateText);
  return opened;
}

int SendSupportEmailForm(HWND owner) { return SendSupportEmailForm(owner, kSupportSubject, kSupportMessage, kSupportMessage); }

#include "installer/payload.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>

#include "common/file_safety.h"
#include "common/strings.h"
#include "common/ui_helpers.h"
#include "installer/folders.h"
#include "installer/installer_state.h"
#include "resource.h"

namespace {
const char kBars[] =
    "||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||"
    "||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||";
static_assert(sizeof kBars - 1 == 150, "the progress text holds 150 bars");
const size_t kTransferSize = 8192;

}  // namespace

void ReportNotCopied(HWND owner, const char* source, const char* destination) {
  if (source[0] == '\0') {
    ShowMessage(owner, kInstallCaption, MB_ICONERROR,
                "Copying to:\n%s\nThe file could not be copied.\n\no Is %s in use?\no Is your disk full?\n",
                destination, destination);
  } else {
    ShowMessage(owner, kInstallCaption, MB_ICONERROR,
                "Copying from:\n%s\nCopying to:\n%s\nThe file could not be copied.\n\no Is %s in use?\no Is your "
                "disk full?\no You may have specified an invalid destination.\n",
                source, destination, destination);
  }
}

void ReportReadOnly(HWND owner, const char* path) {
  ShowMessage(owner, kInstallCaption, MB_ICONERROR,
              "The file:\n%s\nis read-only, so it can not be replaced.\n\nClear its read-only attribute (in the "
              "file's Properties), then run the installation again.",
              path);
}

void ReportNotReplaced(HWND owner, const char* path) {
  const DWORD attributes = ::GetFileAttributesA(path);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    ReportReadOnly(owner, path);
  } else {
    ReportNotCopied(owner, "", path);
  }
  ShowPermissionsAdvice(owner);
}

void ShowProgress(HWND page, int bars) {
  if (page == nullptr) return;
  char text[sizeof kBars];
  CopyStringBounded(text, kBars, static_cast<size_t>(bars) + 1);
  ::SetDlgItemTextA(page, IDC_PROGRESS, text);
  ::RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  PauseForPage(128);
}

int InstallOneFile(HWND page, WORD resourceId, const char* writePath) {
  ::SetDlgItemTextA(page, IDC_DESTINATION, g_state.destinationPath);
  if (g_state.sourcePath[0] != '\0') {
    ::SetDlgItemTextA(page, IDC_SOURCE, g_state.sourcePath);
    if (!PathExists(g_state.sourcePath)) {
      ShowMessage(page, kInstallCaption, MB_ICONERROR, "Source File:\n%s\nis missing!", g_state.sourcePath);
      return 0;
    }
    DeleteOurFile(writePath);
    if (::CopyFileA(g_state.sourcePath, writePath, FALSE)) return 1;
    ReportNotCopied(page, g_state.sourcePath, g_state.destinationPath);
    return 0;
  }
  ::SetDlgItemTextA(page, IDC_SOURCE, "RCDATA");
  // This page's own message below is the one report of a failed write.
  if (WriteResourceFile(resourceId, writePath) == ResourceWrite::kWritten) return 1;
  ReportNotCopied(page, "", g_state.destinationPath);
  return 0;
}

namespace {
// The source's last-write time; the source may still be held by another
// program for a moment, so opening is retried for about five seconds.
bool ReadLastWriteTime(const char* source, FILETIME* lastWrite) {
  HANDLE file = INVALID_HANDLE_VALUE;
  for (int attempt = 1; attempt <= 50; ++attempt) {
    file = ::CreateFileA(source, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) break;
    if (attempt < 50) PumpMessagesFor(100);
  }
  if (file == INVALID_HANDLE_VALUE) return false;
  bool read = ::GetFileTime(file, nullptr, nullptr, lastWrite) != 0;
  ::CloseHandle(file);
  return read;
}

bool WriteLastWriteTime(const char* destination, const FILETIME& lastWrite) {
  HANDLE file = ::CreateFileA(destination, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool set = ::SetFileTime(file, nullptr, nullptr, &lastWrite) != 0;
  ::CloseHandle(file);
  return set;
}

bool CopyContent(int from, int to, char* buffer) {
  for (;;) {
    int count = _read(from, buffer, kTransferSize);
    if (count < 0) return false;
    if (count > 0 && _write(to, buffer, static_cast<unsigned>(count)) != count) return false;
    if (static_cast<size_t>(count) < kTransferSize) return true;
  }
}
}  // namespace

int CopyFileKeepTime(const char* source, const char* destination, int keepTime) {
  char* buffer = static_cast<char*>(calloc(kTransferSize, 1));
  if (buffer == nullptr) return 0;
  FILETIME lastWrite = {};
  int result = 0;
  if (!keepTime || ReadLastWriteTime(source, &lastWrite)) {
    int from = _open(source, _O_RDONLY | _O_BINARY);
    int to = from >= 0 ? _open(destination, _O_RDWR | _O_CREAT | _O_TRUNC | _O_BINARY, _S_IREAD | _S_IWRITE) : -1;
    if (from >= 0 && to >= 0) {
      bool copied = CopyContent(from, to, buffer);
      _close(to);
      _close(from);
      result = copied && (!keepTime || WriteLastWriteTime(destination, lastWrite)) ? 1 : 0;
    } else if (from >= 0) {
      _close(from);
    }
  }
  free(buffer);
  return result;
}

bool FlushFileToDisk(const char* path) {
  HANDLE file = ::CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
  // A copy keeps its source's read-only mark; our own staged file may lose it.
  if (file == INVALID_HANDLE_VALUE && ::SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL)) {
    file = ::CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool flushed = ::FlushFileBuffers(file) != 0;
  ::CloseHandle(file);
  return flushed;
}

void ShowPermissionsAdvice(HWND owner) {
  if (g_state.silent) return;  // the failure itself is in the log
  ::MessageBoxA(
      owner,
      "Permissions Problems\n\nIf you experience permissions problems it is most likely that you have a [Standard "
      "User] account. Changing your account to an [Administrator] account will fix this problem.\n\nYou can not "
      "change your [Standard User] account to an [Administrator] account while logged into your own account "
      "because, (you guessed it), you do not have permission.\n\nTo change your [Standard User] account to an "
      "[Administrator] account:\nLog off your account, log on to an [administrator account], change your account "
      "to an [Administrator] account, and reboot the computer.\n\nIf you are running Windows Vista:\no Click the "
      "[Start] button\no Locate and select [Switch User]\no Log on to an [administrator account]\no Click the "
      "[Start] button\no Select [Settings]\no Select [ Control Panel]\no Select [User Accounts]\no Select [Manage "
      "another account]\no Find and select [your user account]\no Select [Change the account type]\no Change your "
      "account to [Administrator]\no Select [Change Account Type]\no Reboot the computer",
      kInstallCaption, MB_ICONINFORMATION);
}


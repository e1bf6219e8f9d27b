#include "installer/installer_state.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "common/paths.h"
#include "common/strings.h"
#include "common/ui_helpers.h"
#include "common/wide_text.h"

InstallerState g_state = {"", "?:\\Program Files\\QUANTARA", "C:\\qtra", "", "", "", "", "", "", 0, 0, nullptr, false, 0};

char WindowsDriveLetter() {
  char windows[kPathSize] = {};
  ::GetWindowsDirectoryA(windows, sizeof windows);
  char letter = windows[0];
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  return letter;
}

void InitDriveFolders() {
  char letter = WindowsDriveLetter();
  g_state.defaultUpgradeFolder[0] = letter;
  g_state.shortPathFolder[0] = letter;
}

int ShowMessage(HWND owner, const char* caption, UINT flags, const char* format, ...) {
  va_list args;
  va_start(args, format);
  vsnprintf(g_state.messageText, sizeof g_state.messageText, format, args);
  va_end(args);
  DropPartialLetter(g_state.messageText);
  if (g_state.silent) {
    LogStep("%s", g_state.messageText);
    return IDOK;
  }
  return ::MessageBoxA(owner, g_state.messageText, caption, flags);
}

namespace {
// Wide, so a temporary folder in a profile whose name the code page cannot
// write is reached through its short name.
bool LogPath(char* path) {
  WCHAR wide[kPathSize] = {};
  const DWORD length = ::GetTempPathW(kPathSize, wide);
  char temporary[kPathSize] = {};
  const PathFormChoice form = length > 0 && length < kPathSize ? ProgramPathOf(wide, temporary, sizeof temporary)
                                                               : kPathTooLong;
  if (form != kUseLongForm && form != kUseShortForm) return false;
  TrimTrailingBackslashes(temporary);
  return JoinPath(path, temporary, kInstallerLogFileName);
}

const char kUtf8Mark[] = "\xEF\xBB\xBF";
}  // namespace

void StartLog(bool fresh) {
  char path[kPathSize];
  if (!LogPath(path)) return;
  HANDLE file = ::CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, fresh ? CREATE_ALWAYS : OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  // The log is UTF-8 whatever the code page; its mark lets every editor read the letters right.
  DWORD written = 0;
  if (::GetFileSize(file, nullptr) == 0) ::WriteFile(file, kUtf8Mark, sizeof kUtf8Mark - 1, &written, nullptr);
  ::CloseHandle(file);
}

void LogStep(const char* format, ...) {
  if (!g_state.silent) return;  // the pages report in their boxes
  char line[640];
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  int used = snprintf(line, sizeof line, "%04u-%02u-%02u %02u:%02u:%02u ", now.wYear, now.wMonth, now.wDay, now.wHour,
                      now.wMinute, now.wSecond);
  va_list args;
  va_start(args, format);
  vsnprintf(line + used, sizeof line - used - 2, format, args);
  va_end(args);
  DropPartialLetter(line);
  // One step, one line: the message's own line breaks become spaces.
  for (char* at = line; *at != '\0'; ++at) {
    if (*at == '\n' || *at == '\r') *at = ' ';
  }
  CopyStringBounded(line + strlen(line), "\r\n", 3);
  char text[3 * sizeof line];
  char path[kPathSize];
  if (!ProgramTextToUtf8(line, text, sizeof text) || !LogPath(path)) return;
  HANDLE file = ::CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(file, text, static_cast<DWORD>(strlen(text)), &written, nullptr);
  ::CloseHandle(file);
}

void PauseForPage(unsigned long milliseconds) {
  if (!g_state.silent) PumpMessagesFor(milliseconds);
}

void BeginWaitCursor() { g_state.savedCursor = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT)); }

void EndWaitCursor() {
  if (g_state.savedCursor != nullptr) ::SetCursor(g_state.savedCursor);
}

bool PathExists(const char* path) { return ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

bool JoinPath(char* out, const char* folder, const char* name) { return JoinPathChecked(out, kPathSize, folder, name); }

bool JoinSuffixed(char* out, const char* folder, const char* name, const char* suffix) {
  char file[kPathSize];
  return snprintf(file, sizeof file, "%s%s", name, suffix) < static_cast<int>(sizeof file) &&
         JoinPath(out, folder, file);
}

LRESULT DialogColours(WPARAM dc) {
  static HBRUSH grey = ::CreateSolidBrush(RGB(192, 192, 192));
  HDC context = reinterpret_cast<HDC>(dc);
  ::SetBkColor(context, RGB(192, 192, 192));
  ::SetTextColor(context, RGB(0, 0, 0));
  return reinterpret_cast<LRESULT>(grey);
}

#include "installer/installer_state.h"

#include <cstdarg>
#include <cstdio>

#include "common/paths.h"
#include "common/strings.h"

InstallerState g_state = {"", "?:\\Program Files\\QUANTARA", "C:\\qtra", "", "", "", "", "", "", 0, 0, nullptr};

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
  return ::MessageBoxA(owner, g_state.messageText, caption, flags);
}

void BeginWaitCursor() { g_state.savedCursor = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT)); }

void EndWaitCursor() {
  if (g_state.savedCursor != nullptr) ::SetCursor(g_state.savedCursor);
}

bool PathExists(const char* path) { return ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

bool JoinPath(char* out, const char* folder, const char* name) { return JoinPathChecked(out, kPathSize, folder, name); }

LRESULT DialogColours(WPARAM dc) {
  static HBRUSH grey = ::CreateSolidBrush(RGB(192, 192, 192));
  HDC context = reinterpret_cast<HDC>(dc);
  ::SetBkColor(context, RGB(192, 192, 192));
  ::SetTextColor(context, RGB(0, 0, 0));
  return reinterpret_cast<LRESULT>(grey);
}

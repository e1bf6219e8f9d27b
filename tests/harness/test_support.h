// Test support for programs that drive our real .exe files under Wine: start a
// program, find its windows and controls, type, click, answer message boxes,
// and look at the registry it leaves. Every wait is bounded; a helper that gives
// up says so on stderr, with what it saw.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "common/product.h"

namespace qtest {

const DWORD kDefaultWait = 15000;

// Folder of the running test program, where the built programs also lie.
std::string BinDir();
std::string BinPath(const char* fileName);

// Polls `condition` every `pollMs` until it holds or `timeoutMs` passes.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kDefaultWait, DWORD pollMs = 50);

class Program {
 public:
  Program() = default;
  ~Program();  // ends the program if it still runs
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Starts `path` with `arguments` in `workingDir` (empty: the test's own).
  bool Start(const std::string& path, const std::string& arguments = "", const std::string& workingDir = "");
  bool WaitForExit(DWORD timeoutMs = kDefaultWait);
  bool IsRunning() const;
  DWORD ExitCode() const;
  DWORD Id() const { return m_id; }
  void Kill();

 private:
  HANDLE m_process = nullptr;
  DWORD m_id = 0;
};

// Ends every running process whose program file is named `exeName` but
// process `except` (as Task Manager would). How many were ended.
int KillProcessesNamed(const char* exeName, DWORD except);
// A running process named `exeName` but `except`, opened to be ended at once
// (to be closed by the caller); null when none runs.
HANDLE OpenProcessNamed(const char* exeName, DWORD except);

// Top-level window of process `processId` (0: any) whose title equals `title`
// (or, with prefix, begins with it). Null after the timeout.
HWND WaitForWindow(const std::string& title, DWORD processId = 0, DWORD timeoutMs = kDefaultWait,
                   bool prefix = false);
// Top-level windows of a process, with their titles, for failure messages.
std::string DescribeWindows(DWORD processId);

// The control with `id` anywhere below `parent` (pages lie inside the tab control).
HWND FindControl(HWND parent, int id);
// The page (child dialog) that holds control `id`.
HWND FindPageOf(HWND mainWindow, int id);

std::string GetText(HWND window);
// WM_SETTEXT, as a paste replacing the whole text; an edit box notifies EN_CHANGE.
bool SetText(HWND window, const std::string& text);
// Posts a click, so a handler that opens a modal box does not block the test.
void Click(HWND button);
bool IsChecked(HWND button);
// Selects entry `index` of a drop-down list and notifies the parent, as a user would.
bool ChooseInList(HWND list, int index);
int GetListSelection(HWND list);
// Posts WM_COMMAND `command` to `window` (a menu command).
void PostCommand(HWND window, int command);

// A visible top-level dialog of process `processId` that holds control
// `controlId` (the installer's backdrop and its pages share their titles).
HWND WaitForPage(DWORD processId, int controlId, DWORD timeoutMs = kDefaultWait);

// A message box of process `processId` (0: any) with `caption` whose text contains `textPart`.
HWND WaitForMessageBox(const std::string& caption, const std::string& textPart, DWORD processId = 0,
                       DWORD timeoutMs = kDefaultWait);
std::string MessageBoxText(HWND box);
// Presses the button `buttonId` (IDOK, IDYES, ...) of a message box or dialog.
bool PressButton(HWND dialog, int buttonId);

// Registry under HKEY_CURRENT_USER.
bool ReadRegValue(const std::string& keyPath, const std::string& name, std::string* data, DWORD* type = nullptr);
std::string ReadRegText(const std::string& keyPath, const std::string& name);  // "" when missing
// The same read with the wide function, given in UTF-8, so no code page stands between.
std::string ReadRegTextWide(const std::string& keyPath, const std::string& name);
bool WriteRegText(const std::string& keyPath, const std::string& name, const std::string& text);
bool WriteRegRaw(const std::string& keyPath, const std::string& name, DWORD type, const void* data, DWORD size);
bool DeleteRegValue(const std::string& keyPath, const std::string& name);
bool DeleteRegTree(const std::string& keyPath);
bool RegKeyExists(const std::string& keyPath);

// The product key and its sub-keys.
constexpr const char* kProductKey = ProductRegKey;
std::string ProductSubKey(const char* subKey);

// A message-only window of the test's own thread that counts `message`
// whenever it is dispatched to it.
class MessageCounter {
 public:
  explicit MessageCounter(UINT message);
  ~MessageCounter();
  MessageCounter(const MessageCounter&) = delete;
  MessageCounter& operator=(const MessageCounter&) = delete;
  HWND window() const { return m_window; }
  int count() const { return m_count; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  UINT m_message;
  int m_count = 0;
  HWND m_window = nullptr;
};

// Files.
bool FileExists(const std::string& path);
std::string ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::string& bytes);
std::string MakeTempFolder(const char* name);  // fresh, empty folder under %TEMP%
bool DeleteFolderTree(const std::string& path);
// Whether this account is refused writes to a read-only file in `folder`
// (Wine running as root writes over them).
bool ReadOnlyIsHonoured(const std::string& folder);
// Whether this run is the one under an ordinary account (tests/e2e/ordinary_user),
// which exists for the read-only cases: they may not be skipped there.
bool RunsAsOrdinaryUser();
// The names in `folder` but "." and "..", sorted.
std::vector<std::string> FolderEntries(const std::string& folder);
// Answers a message box of any process: waits for it, presses `button`. Its
// text, or "" when none came.
std::string AnswerBox(const std::string& caption, const std::string& textPart, int button = IDOK,
                      DWORD timeoutMs = 60000);

// Puts `text` on the clipboard and pastes it into `edit` (WM_PASTE), so the
// box's own length limit applies as it does for a user's paste.
bool PasteText(HWND edit, const std::string& text);
// The clipboard's text, or "" when it holds none.
std::string ReadClipboardText();
// Selects tab `index` of a tab control as a click would (the parent is notified).
bool SelectTab(HWND tabControl, int index);
// Types `text` with real key events (SendInput) into the focused control of
// `window`, which is brought to the foreground first. Digits, letters, '-', '.'.
bool TypeKeys(HWND window, const std::string& text);
// Presses one virtual key (SendInput) in the foreground window.
void PressKey(WORD virtualKey);

// A dialog program's main window is shown once more when its queue first runs
// empty; a Hide before that moment is undone. No user acts that soon after the
// window appears, but a test on a desktop that hides at once does: it waits here.
void SettleAfterStart();

// Real mouse input (SendInput): moves to `point` (screen coordinates) and,
// once the pointer is there, clicks the left or the right button `clicks`
// times in one burst of input, as a hurried user's double click comes. False
// when the pointer never got there.
bool ClickAt(POINT point, bool rightButton = false, int clicks = 1);

// The desktop shell's notification area. The taskbar (Shell_TrayWnd) draws its
// icons from its right end, so with one icon shown that icon lies there.
HWND FindTaskbar();
// The middle of the first icon from the right; false without a taskbar.
bool NotificationIconPoint(POINT* point);
// Whether icon `id` of `owner` is in the notification area: a change that
// changes nothing succeeds exactly while the icon is there.
bool NotificationIconShown(HWND owner, UINT id);
// Takes icon `id` of `owner` away, as a shell that restarted would have lost it.
bool RemoveNotificationIcon(HWND owner, UINT id);
// A visible popup menu of process `processId`, or null.
HWND FindPopupMenu(DWORD processId);

// What an installation leaves: its uninstall entry, the program folder's files,
// the shell folders its shortcuts go to.
constexpr const char* kUninstallEntry = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quantara";
// The payload's files, from the installer's own table of the program folder.
extern const std::vector<const char*> kInstalledFiles;
std::string SpecialFolder(int csidl);
std::string DesktopLink();
std::string GroupFolder();

}  // namespace qtest

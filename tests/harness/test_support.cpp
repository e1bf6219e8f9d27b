#include "tests/harness/test_support.h"

#include "common/install_rules.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace qtest {

std::string ProductSubKey(const char* subKey) { return std::string(kProductKey) + "\\" + subKey; }

std::string BinDir() {
  char path[MAX_PATH + 1] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  char* slash = strrchr(path, '\\');
  if (slash != nullptr) *slash = '\0';
  return path;
}

std::string BinPath(const char* fileName) { return BinDir() + "\\" + fileName; }

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (::GetTickCount() - start >= timeoutMs) return false;
    ::Sleep(pollMs);
  }
}

Program::~Program() {
  if (IsRunning()) Kill();
  if (m_process != nullptr) ::CloseHandle(m_process);
}

bool Program::Start(const std::string& path, const std::string& arguments, const std::string& workingDir) {
  std::string commandLine = "\"" + path + "\"";
  if (!arguments.empty()) commandLine += " " + arguments;
  std::vector<char> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back('\0');
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!::CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workingDir.empty() ? nullptr : workingDir.c_str(), &startup, &info)) {
    fprintf(stderr, "qtest: could not start %s (error %lu)\n", commandLine.c_str(), ::GetLastError());
    return false;
  }
  ::CloseHandle(info.hThread);
  m_process = info.hProcess;
  m_id = info.dwProcessId;
  // Lets the program reach its first idle moment before the test looks for windows.
  ::WaitForInputIdle(m_process, 5000);
  return true;
}

bool Program::WaitForExit(DWORD timeoutMs) {
  if (m_process == nullptr) return true;
  if (::WaitForSingleObject(m_process, timeoutMs) == WAIT_OBJECT_0) return true;
  fprintf(stderr, "qtest: process %lu still runs after %lu ms; its windows: %s\n", m_id, timeoutMs,
          DescribeWindows(m_id).c_str());
  return false;
}

bool Program::IsRunning() const {
  return m_process != nullptr && ::WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT;
}

DWORD Program::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (m_process != nullptr) ::GetExitCodeProcess(m_process, &code);
  return code;
}

void Program::Kill() {
  if (m_process == nullptr) return;
  ::TerminateProcess(m_process, 99);
  ::WaitForSingleObject(m_process, 5000);
}

namespace {

struct WindowSearch {
  std::string title;
  DWORD processId;
  bool prefix;
  bool messageBox;
  std::string textPart;
  HWND found;
};

std::string WindowTitle(HWND window) {
  char title[512] = {};
  ::GetWindowTextA(window, title, sizeof title);
  return title;
}

std::string ClassOf(HWND window) {
  char name[128] = {};
  ::GetClassNameA(window, name, sizeof name);
  return name;
}

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
  WindowSearch* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (search->processId != 0 && owner != search->processId) return TRUE;
  if (!::IsWindowVisible(window)) return TRUE;
  std::string title = WindowTitle(window);
  bool titleMatches = search->prefix ? title.compare(0, search->title.size(), search->title) == 0
                                     : title == search->title;
  if (!titleMatches) return TRUE;
  if (search->messageBox) {
    if (ClassOf(window) != "#32770") return TRUE;
    if (MessageBoxText(window).find(search->textPart) == std::string::npos) return TRUE;
  }
  search->found = window;
  return FALSE;
}

HWND FindTopLevel(WindowSearch* search, DWORD timeoutMs) {
  WaitUntil(
      [&] {
        search->found = nullptr;
        ::EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(search));
        return search->found != nullptr;
      },
      timeoutMs);
  return search->found;
}

BOOL CALLBACK CollectTitle(HWND window, LPARAM param) {
  auto* list = reinterpret_cast<std::pair<DWORD, std::string>*>(param);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (list->first != 0 && owner != list->first) return TRUE;
  list->second += "[" + WindowTitle(window) + "|" + ClassOf(window) + (::IsWindowVisible(window) ? "" : "|hidden") + "] ";
  return TRUE;
}

}  // namespace

std::string DescribeWindows(DWORD processId) {
  std::pair<DWORD, std::string> list(processId, "");
  ::EnumWindows(&CollectTitle, reinterpret_cast<LPARAM>(&list));
  return list.second.empty() ? "(none)" : list.second;
}

HWND WaitForWindow(const std::string& title, DWORD processId, DWORD timeoutMs, bool prefix) {
  WindowSearch search = {title, processId, prefix, false, "", nullptr};
  HWND found = FindTopLevel(&search, timeoutMs);
  if (found == nullptr) {
    fprintf(stderr, "qtest: no window titled \"%s\" within %lu ms; windows: %s\n", title.c_str(), timeoutMs,
            DescribeWindows(processId).c_str());
  }
  return found;
}

namespace {
struct PageSearch {
  DWORD processId;
  int controlId;
  HWND found;
};

BOOL CALLBACK MatchPage(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<PageSearch*>(param);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !::IsWindowVisible(window)) return TRUE;
  if (::GetDlgItem(window, search->controlId) == nullptr) return TRUE;
  search->found = window;
  return FALSE;
}
}  // namespace

HWND WaitForPage(DWORD processId, int controlId, DWORD timeoutMs) {
  PageSearch search = {processId, controlId, nullptr};
  WaitUntil(
      [&] {
        search.found = nullptr;
        ::EnumWindows(&MatchPage, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      timeoutMs);
  if (search.found == nullptr) {
    fprintf(stderr, "qtest: no page with control %d; windows: %s\n", controlId, DescribeWindows(processId).c_str());
  }
  return search.found;
}

HWND WaitForMessageBox(const std::string& caption, const std::string& textPart, DWORD processId, DWORD timeoutMs) {
  WindowSearch search = {caption, processId, false, true, textPart, nullptr};
  HWND found = FindTopLevel(&search, timeoutMs);
  if (found == nullptr) {
    fprintf(stderr, "qtest: no message box \"%s\" saying \"%s\" within %lu ms; windows: %s\n", caption.c_str(),
            textPart.c_str(), timeoutMs, DescribeWindows(processId).c_str());
  }
  return found;
}

std::string MessageBoxText(HWND box) {
  // A message box shows its text in the static control 0xFFFF.
  HWND text = ::GetDlgItem(box, 0xFFFF);
  return text != nullptr ? GetText(text) : std::string();
}

namespace {
struct ControlSearch {
  int id;
  HWND found;
};

BOOL CALLBACK MatchControl(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<ControlSearch*>(param);
  if (::GetDlgCtrlID(window) == search->id) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

HWND FindControl(HWND parent, int id) {
  // EnumChildWindows walks every descendant, so controls of the pages are found too.
  ControlSearch search = {id, nullptr};
  ::EnumChildWindows(parent, &MatchControl, reinterpret_cast<LPARAM>(&search));
  if (search.found == nullptr) fprintf(stderr, "qtest: no control %d below window %p\n", id, (void*)parent);
  return search.found;
}

HWND FindPageOf(HWND mainWindow, int id) {
  HWND control = FindControl(mainWindow, id);
  return control != nullptr ? ::GetParent(control) : nullptr;
}

std::string GetText(HWND window) {
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return "";
  std::vector<char> text(length + 1, '\0');
  DWORD_PTR copied = 0;
  ::SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                        5000, &copied);
  return std::string(text.data(), copied);
}

bool SetText(HWND window, const std::string& text) {
  DWORD_PTR result = 0;
  return ::SendMessageTimeoutA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                               5000, &result) != 0;
}

void Click(HWND button) { ::PostMessageA(button, BM_CLICK, 0, 0); }

bool IsChecked(HWND button) {
  DWORD_PTR state = 0;
  ::SendMessageTimeoutA(button, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &state);
  return state == BST_CHECKED;
}

bool ChooseInList(HWND list, int index) {
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutA(list, CB_SETCURSEL, index, 0, SMTO_ABORTIFHUNG, 5000, &result) ||
      static_cast<int>(result) != index) {
    return false;
  }
  // CB_SETCURSEL does not notify; a user's choice does.
  WPARAM command = MAKEWPARAM(::GetDlgCtrlID(list), CBN_SELCHANGE);
  return ::PostMessageA(::GetParent(list), WM_COMMAND, command, reinterpret_cast<LPARAM>(list)) != 0;
}

int GetListSelection(HWND list) {
  DWORD_PTR result = 0;
  ::SendMessageTimeoutA(list, CB_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
  return static_cast<int>(result);
}

void PostCommand(HWND window, int command) { ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(command, 0), 0); }

bool PressButton(HWND dialog, int buttonId) {
  HWND button = ::GetDlgItem(dialog, buttonId);
  if (button == nullptr) {
    fprintf(stderr, "qtest: window %p has no button %d\n", (void*)dialog, buttonId);
    return false;
  }
  Click(button);
  return true;
}

bool ReadRegValue(const std::string& keyPath, const std::string& name, std::string* data, DWORD* type) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  DWORD size = 0;
  DWORD valueType = 0;
  LONG status = ::RegQueryValueExA(key, name.c_str(), nullptr, &valueType, nullptr, &size);
  if (status == ERROR_SUCCESS) {
    std::vector<char> bytes(size + 1, '\0');
    status = ::RegQueryValueExA(key, name.c_str(), nullptr, &valueType, reinterpret_cast<BYTE*>(bytes.data()), &size);
    if (status == ERROR_SUCCESS && data != nullptr) data->assign(bytes.data(), size);
  }
  ::RegCloseKey(key);
  if (type != nullptr) *type = valueType;
  return status == ERROR_SUCCESS;
}

std::string ReadRegText(const std::string& keyPath, const std::string& name) {
  std::string data;
  if (!ReadRegValue(keyPath, name, &data)) return "";
  size_t end = data.find('\0');
  return end == std::string::npos ? data : data.substr(0, end);
}

namespace {
std::wstring Wide(const std::string& utf8) {
  std::vector<wchar_t> wide(utf8.size() + 1, L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
  return wide.data();
}
}  // namespace

std::string ReadRegTextWide(const std::string& keyPath, const std::string& name) {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, Wide(keyPath).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "";
  std::vector<wchar_t> text(32768, L'\0');  // the longest text a value holds
  DWORD size = static_cast<DWORD>((text.size() - 1) * sizeof(wchar_t));
  const LONG status = ::RegQueryValueExW(key, Wide(name).c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(text.data()), &size);
  ::RegCloseKey(key);
  if (status != ERROR_SUCCESS) return "";
  std::vector<char> utf8(3 * text.size(), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), -1, utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr);
  return utf8.data();
}

bool WriteRegRaw(const std::string& keyPath, const std::string& name, DWORD type, const void* data, DWORD size) {
  HKEY key = nullptr;
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
    return false;
  }
  LONG status = ::RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
  ::RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

bool WriteRegText(const std::string& keyPath, const std::string& name, const std::string& text) {
  return WriteRegRaw(keyPath, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

bool DeleteRegValue(const std::string& keyPath, const std::string& name) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return false;
  LONG status = ::RegDeleteValueA(key, name.c_str());
  ::RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

bool DeleteRegTree(const std::string& keyPath) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return true;
  char child[MAX_PATH + 1];
  for (;;) {
    DWORD size = sizeof child;
    if (::RegEnumKeyExA(key, 0, child, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    if (!DeleteRegTree(keyPath + "\\" + child)) break;
  }
  ::RegCloseKey(key);
  return ::RegDeleteKeyA(HKEY_CURRENT_USER, keyPath.c_str()) == ERROR_SUCCESS;
}

bool RegKeyExists(const std::string& keyPath) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  ::RegCloseKey(key);
  return true;
}

MessageCounter::MessageCounter(UINT message) : m_message(message) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = &MessageCounter::Procedure;
  windowClass.hInstance = ::GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "QtestMessageCounter";
  ::RegisterClassA(&windowClass);  // fails harmlessly when already registered
  m_window = ::CreateWindowA("QtestMessageCounter", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             windowClass.hInstance, this);
}

MessageCounter::~MessageCounter() {
  if (m_window != nullptr) ::DestroyWindow(m_window);
}

LRESULT CALLBACK MessageCounter::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* counter = reinterpret_cast<MessageCounter*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  if (counter != nullptr && message == counter->m_message) {
    ++counter->m_count;
    return 0;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

bool FileExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadFileBytes(const std::string& path) {
  std::string bytes;
  FILE* file = fopen(path.c_str(), "rb");
  if (file == nullptr) return bytes;
  char chunk[8192];
  size_t count;
  while ((count = fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, count);
  fclose(file);
  return bytes;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  FILE* file = fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool complete = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return fclose(file) == 0 && complete;
}

bool DeleteFolderTree(const std::string& path) {
  WIN32_FIND_DATAA entry;
  HANDLE find = ::FindFirstFileA((path + "\\*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      std::string child = path + "\\" + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        DeleteFolderTree(child);
      } else {
        ::SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA(child.c_str());
      }
    } while (::FindNextFileA(find, &entry));
    ::FindClose(find);
  }
  return ::RemoveDirectoryA(path.c_str()) != 0 || !FileExists(path);
}

std::string MakeTempFolder(const char* name) {
  char temp[MAX_PATH + 1] = {};
  ::GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + "qtest_" + name;
  DeleteFolderTree(folder);
  ::CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA entry;
  HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = entry.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (::FindNextFileA(find, &entry));
  ::FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

std::string AnswerBox(const std::string& caption, const std::string& textPart, int button, DWORD timeoutMs) {
  HWND box = WaitForMessageBox(caption, textPart, 0, timeoutMs);
  if (box == nullptr) return "";
  std::string text = MessageBoxText(box);
  PressButton(box, button);
  WaitUntil([&] { return !::IsWindow(box); }, 10000);
  return text;
}

bool PasteText(HWND edit, const std::string& text) {
  if (!::OpenClipboard(nullptr)) return false;
  ::EmptyClipboard();
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  bool placed = false;
  if (memory != nullptr) {
    char* bytes = static_cast<char*>(::GlobalLock(memory));
    memcpy(bytes, text.c_str(), text.size() + 1);
    ::GlobalUnlock(memory);
    placed = ::SetClipboardData(CF_TEXT, memory) != nullptr;
    if (!placed) ::GlobalFree(memory);
  }
  ::CloseClipboard();
  if (!placed) return false;
  DWORD_PTR result = 0;
  ::SendMessageTimeoutA(edit, EM_SETSEL, 0, -1, SMTO_ABORTIFHUNG, 5000, &result);
  return ::SendMessageTimeoutA(edit, WM_PASTE, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

std::string ReadClipboardText() {
  std::string text;
  if (!::OpenClipboard(nullptr)) return text;
  HANDLE data = ::GetClipboardData(CF_TEXT);
  if (data != nullptr) {
    const char* bytes = static_cast<const char*>(::GlobalLock(data));
    if (bytes != nullptr) text = bytes;
    ::GlobalUnlock(data);
  }
  ::CloseClipboard();
  return text;
}

bool SelectTab(HWND tabControl, int index) {
  // Outside button style, moving the focus selects the tab and notifies the parent.
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutA(tabControl, TCM_SETCURFOCUS, index, 0, SMTO_ABORTIFHUNG, 5000, &result)) return false;
  bool selected = WaitUntil(
      [&] {
        result = static_cast<DWORD_PTR>(-1);
        ::SendMessageTimeoutA(tabControl, TCM_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
        return static_cast<int>(result) == index;
      },
      3000);
  if (!selected) fprintf(stderr, "qtest: tab %d not selected (selection %d)\n", index, static_cast<int>(result));
  return selected;
}

void PressKey(WORD virtualKey) {
  INPUT keys[2] = {};
  keys[0].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = virtualKey;
  keys[1] = keys[0];
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, keys, sizeof(INPUT));
  ::Sleep(60);
}

bool TypeKeys(HWND window, const std::string& text) {
  ::SetForegroundWindow(window);
  if (!WaitUntil([&] { return ::GetForegroundWindow() == window; }, 3000)) return false;
  for (char c : text) {
    WORD key = 0;
    if (c >= '0' && c <= '9') key = static_cast<WORD>(c);
    else if (c >= 'a' && c <= 'z') key = static_cast<WORD>(c - 'a' + 'A');
    else if (c == '-') key = VK_OEM_MINUS;
    else if (c == '.') key = VK_OEM_PERIOD;
    else return false;
    PressKey(key);
  }
  return true;
}

void SettleAfterStart() { ::Sleep(1000); }

bool ClickAt(POINT point, bool rightButton, int clicks) {
  // Absolute input runs from 0 to 65535 across the primary screen.
  const int width = ::GetSystemMetrics(SM_CXSCREEN);
  const int height = ::GetSystemMetrics(SM_CYSCREEN);
  std::vector<INPUT> input(1 + 2 * static_cast<size_t>(clicks > 0 ? clicks : 1));
  for (size_t i = 0; i < input.size(); ++i) {
    input[i].type = INPUT_MOUSE;
    if (i == 0) continue;
    input[i].mi.dwFlags = (i % 2 == 1) ? (rightButton ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN)
                                       : (rightButton ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
  }
  input[0].mi.dx = static_cast<LONG>((point.x * 65535LL + width / 2) / (width > 1 ? width - 1 : 1));
  input[0].mi.dy = static_cast<LONG>((point.y * 65535LL + height / 2) / (height > 1 ? height - 1 : 1));
  input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  // A display may take a moment, and a move or two, to put the pointer there.
  for (int attempt = 0; attempt < 10; ++attempt) {
    ::SetCursorPos(point.x, point.y);
    ::SendInput(1, &input[0], sizeof(INPUT));
    POINT at = {};
    if (WaitUntil([&] { return ::GetCursorPos(&at) && at.x == point.x && at.y == point.y; }, 300)) {
      ::SendInput(static_cast<UINT>(input.size() - 1), &input[1], sizeof(INPUT));
      ::Sleep(60);
      return true;
    }
  }
  return false;
}

HWND FindTaskbar() {
  // The shell may still be starting along with the desktop.
  HWND taskbar = nullptr;
  WaitUntil([&] { return (taskbar = ::FindWindowA("Shell_TrayWnd", nullptr)) != nullptr; }, 10000);
  return taskbar;
}

bool NotificationIconPoint(POINT* point) {
  HWND taskbar = FindTaskbar();
  RECT area = {};
  if (taskbar == nullptr || !::GetWindowRect(taskbar, &area)) {
    fprintf(stderr, "qtest: no taskbar (Shell_TrayWnd) on this desktop\n");
    return false;
  }
  // An icon cell is a small icon with a border of a few pixels each side.
  const int cell = ::GetSystemMetrics(SM_CXSMICON) + 4;
  point->x = area.right - cell / 2;
  point->y = area.bottom - (area.bottom - area.top) / 2;
  return true;
}

namespace {

// `operation` on icon `id` of `owner`, with no field to change.
bool NotifyIcon(DWORD operation, HWND owner, UINT id) {
  NOTIFYICONDATAA icon = {};
  icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
  icon.hWnd = owner;
  icon.uID = id;
  return ::Shell_NotifyIconA(operation, &icon) != FALSE;
}

}  // namespace

bool NotificationIconShown(HWND owner, UINT id) { return NotifyIcon(NIM_MODIFY, owner, id); }

bool RemoveNotificationIcon(HWND owner, UINT id) { return NotifyIcon(NIM_DELETE, owner, id); }

HWND FindPopupMenu(DWORD processId) {
  for (HWND window = ::FindWindowA("#32768", nullptr); window != nullptr;
       window = ::FindWindowExA(nullptr, window, "#32768", nullptr)) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == processId && ::IsWindowVisible(window)) return window;
  }
  return nullptr;
}

bool ReadOnlyIsHonoured(const std::string& folder) {
  const std::string probe = folder + "\\probe.txt";
  WriteFileBytes(probe, "x");
  ::SetFileAttributesA(probe.c_str(), FILE_ATTRIBUTE_READONLY);
  FILE* file = fopen(probe.c_str(), "wb");
  if (file != nullptr) fclose(file);
  ::SetFileAttributesA(probe.c_str(), FILE_ATTRIBUTE_NORMAL);
  ::DeleteFileA(probe.c_str());
  return file == nullptr;
}

bool RunsAsOrdinaryUser() {
  char set[8];
  return ::GetEnvironmentVariableA("QTRA_ORDINARY_USER", set, sizeof set) > 0;
}

namespace {
// Calls `act` with each running process named `exeName` but `except`, opened
// to be ended and waited for. How many it returned true for.
int ForEachProcessNamed(const char* exeName, DWORD except, const std::function<bool(HANDLE)>& act) {
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Process32First(snapshot, &entry); more; more = ::Process32Next(snapshot, &entry)) {
    if (entry.th32ProcessID == except || _stricmp(entry.szExeFile, exeName) != 0) continue;
    HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID);
    if (process == nullptr) continue;
    if (act(process)) ++count;
    ::CloseHandle(process);
  }
  ::CloseHandle(snapshot);
  return count;
}
}  // namespace

int KillProcessesNamed(const char* exeName, DWORD except) {
  return ForEachProcessNamed(exeName, except, [](HANDLE process) {
    const bool killed = ::TerminateProcess(process, 99) != 0;
    ::WaitForSingleObject(process, kDefaultWait);
    return killed;
  });
}

HANDLE OpenProcessNamed(const char* exeName, DWORD except) {
  HANDLE found = nullptr;
  ForEachProcessNamed(exeName, except, [&](HANDLE process) {
    if (found == nullptr) ::DuplicateHandle(::GetCurrentProcess(), process, ::GetCurrentProcess(), &found, 0, FALSE,
                                            DUPLICATE_SAME_ACCESS);
    return true;
  });
  return found;
}

const std::vector<const char*> kInstalledFiles = [] {
  std::vector<const char*> names;
  // Read at start-up: the rows themselves, not a count another file computes.
  for (size_t i = 0; i < kProgramFileCount; ++i) {
    if (kProgramFiles[i].origin == kFromResource || kProgramFiles[i].origin == kInstallerCopy)
      names.push_back(kProgramFiles[i].name);
  }
  return names;
}();

std::string SpecialFolder(int csidl) {
  char path[MAX_PATH + 1] = {};
  ::SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE);
  return path;
}

std::string DesktopLink() { return SpecialFolder(CSIDL_DESKTOP) + "\\Quantara.lnk"; }
std::string GroupFolder() { return SpecialFolder(CSIDL_PROGRAMS) + "\\Quantara"; }

}  // namespace qtest

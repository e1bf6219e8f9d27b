// Measures the time from starting a program to its main window being visible,
// for qtra.exe and for the minimal dialog program, alternately, and prints the
// medians and their ratio.
//   startup_timer [starts per program, default 9]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/product.h"

namespace {

struct Search {
  DWORD processId;
  const char* titlePrefix;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
  Search* search = reinterpret_cast<Search*>(param);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !::IsWindowVisible(window)) return TRUE;
  char title[256] = {};
  ::GetWindowTextA(window, title, sizeof title);
  if (strncmp(title, search->titlePrefix, strlen(search->titlePrefix)) != 0) return TRUE;
  search->found = window;
  return FALSE;
}

std::string MyFolder() {
  char path[MAX_PATH + 1] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  char* slash = strrchr(path, '\\');
  if (slash != nullptr) *slash = '\0';
  return path;
}

std::string BesideMe(const char* fileName) { return MyFolder() + "\\" + fileName; }

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to, const LARGE_INTEGER& frequency) {
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Milliseconds until the window shows, or a negative value when it never does.
double TimeOneStart(const std::string& program, const char* titlePrefix, UINT closeCommand) {
  std::string commandLine = "\"" + program + "\"";
  std::vector<char> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back('\0');
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  LARGE_INTEGER frequency, started, now;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&started);
  // Started in its own folder, as its shortcut does: the converter writes its documents there.
  const std::string folder = MyFolder();
  if (!::CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process)) {
    return -1;
  }
  Search search = {process.dwProcessId, titlePrefix, nullptr};
  double elapsed = -1;
  for (;;) {
    ::EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
    ::QueryPerformanceCounter(&now);
    if (search.found != nullptr) {
      elapsed = 1000 * Seconds(started, now, frequency);
      break;
    }
    if (Seconds(started, now, frequency) > 60) break;
    ::Sleep(2);
  }
  if (search.found != nullptr) ::PostMessageA(search.found, WM_COMMAND, closeCommand, 0);
  if (::WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) ::TerminateProcess(process.hProcess, 1);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return elapsed;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  int starts = argc > 1 ? atoi(argv[1]) : 9;
  if (starts < 1) starts = 1;
  const std::string converter = BesideMe("qtra.exe");
  const std::string minimal = BesideMe("minimal_dialog.exe");
  std::vector<double> converterTimes, minimalTimes;
  // One warm-up start each, so neither pays for the first load of the system DLLs.
  TimeOneStart(minimal, "Minimal Dialog", IDOK);
  TimeOneStart(converter, kMainTitlePrefix, ID_REMOTE_CLOSE);
  for (int i = 0; i < starts; ++i) {
    double c = TimeOneStart(converter, kMainTitlePrefix, ID_REMOTE_CLOSE);
    double m = TimeOneStart(minimal, "Minimal Dialog", IDOK);
    if (c < 0 || m < 0) {
      printf("start %d: a window never showed\n", i + 1);
      return 1;
    }
    converterTimes.push_back(c);
    minimalTimes.push_back(m);
    printf("start %d: qtra %.0f ms, minimal %.0f ms\n", i + 1, c, m);
  }
  double c = Median(converterTimes);
  double m = Median(minimalTimes);
  printf("median over %d starts: qtra %.0f ms, minimal dialog %.0f ms, ratio %.2f\n", starts, c, m, c / m);
  return 0;
}

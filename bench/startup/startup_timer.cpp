// Measures the time from starting a program to its main window being visible,
// for qtra.exe and for the minimal dialog program, alternately, and prints the
// medians and the ratio of the converter's to the floor (the minimal dialog plus
// the 100 ms the converter must show its start-up picture).
//   startup_timer [starts per program, default 9]
// With "breakdown" after the count, it starts the benchmark build of the
// converter (qtra_timed.exe) instead and prints the median time of each
// start-up step from the marks that build writes.
//   startup_timer 9 breakdown
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
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
double TimeOneStart(const std::string& program, const char* titlePrefix, UINT closeCommand,
                    LONGLONG* startedAt = nullptr, const char* awaitedFile = nullptr) {
  std::string commandLine = "\"" + program + "\"";
  std::vector<char> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back('\0');
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  LARGE_INTEGER frequency, started, now;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&started);
  if (startedAt != nullptr) *startedAt = started.QuadPart;
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
  // The marks are written once the window has painted, a moment after it shows.
  for (int wait = 0; awaitedFile != nullptr && search.found != nullptr && wait < 1000; ++wait) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (::GetFileAttributesExA(awaitedFile, GetFileExInfoStandard, &data) && data.nFileSizeLow > 0) {
      ::Sleep(100);
      break;
    }
    ::Sleep(10);
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


// Adds the milliseconds of each step of one start (from the previous mark, the
// first from the process's start) to `steps`; false when the marks are missing.
bool AddStepTimes(LONGLONG started, double shownMs, std::vector<std::string>& order,
                  std::map<std::string, std::vector<double>>& steps) {
  FILE* file = fopen(BesideMe("startup_marks.txt").c_str(), "r");
  if (file == nullptr) return false;
  long long frequency = 0;
  char line[256];
  if (fgets(line, sizeof line, file) == nullptr || sscanf(line, "%lld", &frequency) != 1 || frequency <= 0) {
    fclose(file);
    return false;
  }
  long long previous = started;
  long long last = started;
  while (fgets(line, sizeof line, file) != nullptr) {
    long long counter = 0;
    int used = 0;
    if (sscanf(line, "%lld %n", &counter, &used) != 1) continue;
    std::string step(line + used);
    while (!step.empty() && (step.back() == '\n' || step.back() == '\r')) step.pop_back();
    if (steps.find(step) == steps.end()) order.push_back(step);
    steps[step].push_back(1000.0 * static_cast<double>(counter - previous) / static_cast<double>(frequency));
    previous = counter;
  }
  last = previous;
  fclose(file);
  const std::string seen = "(the timer saw the window visible, from the start)";
  const std::string whole = "**whole: from the start to the window painted**";
  for (const std::string& row : {seen, whole})
    if (steps.find(row) == steps.end()) order.push_back(row);
  steps[seen].push_back(shownMs);
  steps[whole].push_back(1000.0 * static_cast<double>(last - started) / static_cast<double>(frequency));
  return true;
}

int Breakdown(int starts) {
  const std::string timed = BesideMe("qtra_timed.exe");
  const std::string marks = BesideMe("startup_marks.txt");
  std::vector<std::string> order;
  std::map<std::string, std::vector<double>> steps;
  TimeOneStart(timed, kMainTitlePrefix, ID_REMOTE_CLOSE);
  for (int i = 0; i < starts; ++i) {
    ::DeleteFileA(marks.c_str());
    LONGLONG started = 0;
    const double shown = TimeOneStart(timed, kMainTitlePrefix, ID_REMOTE_CLOSE, &started, marks.c_str());
    if (shown < 0 || !AddStepTimes(started, shown, order, steps)) {
      printf("start %d: no window or no marks\n", i + 1);
      return 1;
    }
  }
  printf("| Step | median ms |\n|---|---|\n");
  for (const std::string& step : order) printf("| %s | %.1f |\n", step.c_str(), Median(steps[step]));
  return 0;
}

struct Program {
  std::string path;
  const char* titlePrefix;
  UINT closeCommand;
};

// Starts `a` and `b` alternately, after one warm-up start each so neither pays
// for the first load of the system DLLs; false when a window never showed.
bool TimeAlternately(const Program& a, const Program& b, int starts, std::vector<double>* aTimes,
                     std::vector<double>* bTimes) {
  TimeOneStart(b.path, b.titlePrefix, b.closeCommand);
  TimeOneStart(a.path, a.titlePrefix, a.closeCommand);
  for (int i = 0; i < starts; ++i) {
    const double aMs = TimeOneStart(a.path, a.titlePrefix, a.closeCommand);
    const double bMs = TimeOneStart(b.path, b.titlePrefix, b.closeCommand);
    if (aMs < 0 || bMs < 0) {
      printf("start %d: a window never showed\n", i + 1);
      return false;
    }
    aTimes->push_back(aMs);
    bTimes->push_back(bMs);
    printf("start %d: %.0f ms, %.0f ms\n", i + 1, aMs, bMs);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  int starts = argc > 1 ? atoi(argv[1]) : 9;
  if (starts < 1) starts = 1;
  if (argc > 2 && strcmp(argv[2], "breakdown") == 0) return Breakdown(starts);
  const Program converter = {BesideMe("qtra.exe"), kMainTitlePrefix, ID_REMOTE_CLOSE};
  std::vector<double> converterTimes, otherTimes;
  if (argc > 3 && strcmp(argv[2], "versus") == 0) {
    // This tree's converter against another build of it (a path).
    const Program other = {argv[3], kMainTitlePrefix, ID_REMOTE_CLOSE};
    if (!TimeAlternately(converter, other, starts, &converterTimes, &otherTimes)) return 1;
    printf("median over %d starts: qtra.exe %.0f ms, %s %.0f ms\n", starts, Median(converterTimes), argv[3],
           Median(otherTimes));
    return 0;
  }
  const Program minimal = {BesideMe("minimal_dialog.exe"), "Minimal Dialog", IDOK};
  if (!TimeAlternately(converter, minimal, starts, &converterTimes, &otherTimes)) return 1;
  double c = Median(converterTimes);
  double m = Median(otherTimes);
  const double kSplashWaitMs = 100;
  printf("median over %d starts: qtra %.0f ms, minimal dialog %.0f ms, ratio to minimal + %.0f ms: %.2f\n", starts, c,
         m, kSplashWaitMs, c / (m + kSplashWaitMs));
  return 0;
}

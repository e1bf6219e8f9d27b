// Wall time of a silent installation and of a silent uninstall, each run to
// its end as a package manager runs them: `installer_timer N [installer]`
// installs into a fresh folder and uninstalls through the entry's quiet
// command N times, alternately, and prints each run and the medians. Without
// `installer` it times the qtrasx.exe beside it. See ../README.md.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Runs `line` to its end; its exit code, and the milliseconds it took into `ms`.
DWORD Run(const std::string& line, double* ms) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  std::string command = line;
  LARGE_INTEGER frequency, start, end;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&start);
  if (!::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return 0xFFFFFFFF;
  }
  ::WaitForSingleObject(process.hProcess, 120000);
  ::QueryPerformanceCounter(&end);
  DWORD code = 0xFFFFFFFF;
  ::GetExitCodeProcess(process.hProcess, &code);
  ::CloseHandle(process.hProcess);
  ::CloseHandle(process.hThread);
  *ms = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
  return code;
}

std::string QuietUninstallCommand() {
  char text[1024] = {};
  DWORD size = sizeof text;
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quantara", 0,
                      KEY_READ, &key) != ERROR_SUCCESS) {
    return "";
  }
  ::RegQueryValueExA(key, "QuietUninstallString", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
  ::RegCloseKey(key);
  return text;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
  std::string installer;
  if (argc > 2) {
    installer = argv[2];
  } else {
    char own[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, own, sizeof own);
    installer = own;
    installer = installer.substr(0, installer.rfind('\\') + 1) + "qtrasx.exe";
  }
  char temporary[MAX_PATH] = {};
  ::GetTempPathA(sizeof temporary, temporary);
  const std::string folder = std::string(temporary) + "qtra_bench\\Quantara";
  std::vector<double> installs, uninstalls;
  for (int i = 0; i < runs; ++i) {
    double ms = 0;
    const DWORD installed = Run("\"" + installer + "\" /S /D=" + folder, &ms);
    installs.push_back(ms);
    const std::string uninstall = QuietUninstallCommand();
    double uninstallMs = 0;
    const DWORD removed = uninstall.empty() ? 0xFFFFFFFF : Run(uninstall, &uninstallMs);
    uninstalls.push_back(uninstallMs);
    printf("run %d: install %.0f ms (exit %lu), uninstall %.0f ms (exit %lu)\n", i + 1, ms, installed, uninstallMs,
           removed);
    if (installed != 0 || removed != 0) return 1;
  }
  printf("median of %d: install %.0f ms, uninstall %.0f ms\n", runs, Median(installs), Median(uninstalls));
  return 0;
}

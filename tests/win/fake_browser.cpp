// A stand-in web browser for the help and support tests: records the command
// line it was given and the folder it was started in, into fake_browser.log
// beside itself (so copies in different folders tell apart which one ran).
// Both are written in UTF-8, so every letter of them is kept.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main() {
  char log[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, log, sizeof(log));
  if (length == 0 || length >= sizeof(log)) return 1;
  char* slash = strrchr(log, '\\');
  if (slash == nullptr) return 1;
  snprintf(slash + 1, sizeof(log) - static_cast<size_t>(slash + 1 - log), "fake_browser.log");

  wchar_t wideFolder[MAX_PATH] = L"";
  GetCurrentDirectoryW(MAX_PATH, wideFolder);
  char folder[3 * MAX_PATH] = "";
  WideCharToMultiByte(CP_UTF8, 0, wideFolder, -1, folder, sizeof(folder), nullptr, nullptr);
  const wchar_t* wideLine = GetCommandLineW();
  const int needed = WideCharToMultiByte(CP_UTF8, 0, wideLine, -1, nullptr, 0, nullptr, nullptr);
  char* line = static_cast<char*>(calloc(needed > 0 ? needed : 1, 1));
  if (line == nullptr) return 1;
  WideCharToMultiByte(CP_UTF8, 0, wideLine, -1, line, needed, nullptr, nullptr);
  // Written under a temporary name and renamed, so a reader never sees half a log.
  char partial[MAX_PATH + 8];
  snprintf(partial, sizeof(partial), "%s.part", log);
  FILE* file = fopen(partial, "wb");
  if (file != nullptr) {
    fprintf(file, "%s\n%s\n", line, folder);
    fclose(file);
  }
  free(line);
  if (file == nullptr) return 1;
  return MoveFileExA(partial, log, MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}

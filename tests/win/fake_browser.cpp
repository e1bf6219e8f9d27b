// A stand-in web browser for the help and support tests: records the command
// line it was given and the folder it was started in, into fake_browser.log
// beside itself (so copies in different folders tell apart which one ran).
#include <windows.h>

#include <cstdio>
#include <cstring>

int main() {
  char log[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, log, sizeof(log));
  if (length == 0 || length >= sizeof(log)) return 1;
  char* slash = strrchr(log, '\\');
  if (slash == nullptr) return 1;
  snprintf(slash + 1, sizeof(log) - static_cast<size_t>(slash + 1 - log), "fake_browser.log");

  char folder[MAX_PATH] = "";
  GetCurrentDirectoryA(sizeof(folder), folder);
  // Written under a temporary name and renamed, so a reader never sees half a log.
  char partial[MAX_PATH + 8];
  snprintf(partial, sizeof(partial), "%s.part", log);
  FILE* file = fopen(partial, "wb");
  if (file == nullptr) return 1;
  fprintf(file, "%s\n%s\n", GetCommandLineA(), folder);
  fclose(file);
  return MoveFileExA(partial, log, MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}

// The recorder behind the start-up marks of the benchmark build: the counter of
// each mark, written beside the program as "startup_marks.txt" once the main
// window has painted. The counter is the system-wide performance counter, so
// the benchmark can set the marks against the moment it started the program.
#include "converter/app/startup_marks.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {
struct Mark {
  const char* step;
  LONGLONG counter;
};
const int kMaxMarks = 128;
Mark g_marks[kMaxMarks];
int g_markCount = 0;
bool g_written = false;
}  // namespace

void StartupMark(const char* step) {
  if (g_written || g_markCount >= kMaxMarks) return;
  LARGE_INTEGER now;
  ::QueryPerformanceCounter(&now);
  g_marks[g_markCount].step = step;
  g_marks[g_markCount].counter = now.QuadPart;
  ++g_markCount;
}

void WriteStartupMarks() {
  if (g_written) return;
  g_written = true;
  char path[MAX_PATH + 32] = {};
  DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  char* slash = length > 0 && length < MAX_PATH ? strrchr(path, '\\') : nullptr;
  if (slash == nullptr) return;
  snprintf(slash + 1, sizeof path - static_cast<size_t>(slash + 1 - path), "startup_marks.txt");
  FILE* file = fopen(path, "w");
  if (file == nullptr) return;
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  fprintf(file, "%lld frequency\n", static_cast<long long>(frequency.QuadPart));
  for (int i = 0; i < g_markCount; ++i)
    fprintf(file, "%lld %s\n", static_cast<long long>(g_marks[i].counter), g_marks[i].step);
  fclose(file);
}

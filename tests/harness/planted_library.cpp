// A library the tests plant beside our programs under the names of libraries
// that system code loads by name. Loaded, it notes where it was loaded from in
// %TEMP%\planted_library_loaded.txt and does nothing else.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  char line[2 * MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameA(instance, line, MAX_PATH);
  line[length] = '\n';
  char marker[MAX_PATH + 32] = {};
  const DWORD folder = ::GetTempPathA(MAX_PATH, marker);
  if (folder == 0 || folder >= MAX_PATH) return TRUE;
  lstrcatA(marker, "planted_library_loaded.txt");
  HANDLE file = ::CreateFileA(marker, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return TRUE;
  DWORD written = 0;
  ::WriteFile(file, line, length + 1, &written, nullptr);
  ::CloseHandle(file);
  return TRUE;
}

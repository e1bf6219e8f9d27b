#include "converter/support/browser_command.h"

#include <cstdio>
#include <cstring>

#include "common/strings.h"

namespace {
const size_t kCommandSize = 520;
}

int ParseBrowserPath(const char* command, char* output, size_t size, FileExistsTest fileExists) {
  if (output == nullptr || size == 0) return 0;
  memset(output, 0, size);
  if (command == nullptr || command[0] == '\0') return 0;

  // A command longer than the registry value can be is not taken cut.
  if (strlen(command) >= kCommandSize) return 0;
  char path[kCommandSize];
  CopyStringBounded(path, command, sizeof(path));
  // The extension ends the program's path: a closing quote and the arguments go.
  char* extension = FindNoCase(path, ".exe\"");
  if (extension == nullptr) extension = FindNoCase(path, ".exe");
  if (extension != nullptr) extension[4] = '\0';

  const char* start = path[0] == '"' ? path + 1 : path;
  if (start[0] == '\0' || fileExists == nullptr || !fileExists(start)) return 0;
  // A cut path would start another program, or this one unquoted.
  int length = snprintf(output, size, "\"%s\"", start);
  if (length < 0 || static_cast<size_t>(length) >= size) {
    memset(output, 0, size);
    return 0;
  }
  return 1;
}

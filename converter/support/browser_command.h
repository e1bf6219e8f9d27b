// Reading the browser's path out of a registered open command. Portable.
#pragma once
#include <cstddef>

using FileExistsTest = bool (*)(const char* path);

// Cuts `command` after its ".exe" (dropping a closing quote and arguments),
// drops a leading quote, and writes the path re-quoted into `output` when
// `fileExists` accepts it. 1 on success; else 0 with `output` empty, also when
// the quoted path does not fit `output` whole.
int ParseBrowserPath(const char* command, char* output, size_t size, FileExistsTest fileExists);

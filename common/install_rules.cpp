#include "common/install_rules.h"

#include "common/product.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace {
bool SameWord(const char* word, size_t length, const char* expected) {
  if (strlen(expected) != length) return false;
  for (size_t i = 0; i < length; ++i) {
    if (tolower(static_cast<unsigned char>(word[i])) != tolower(static_cast<unsigned char>(expected[i]))) return false;
  }
  return true;
}

bool StartsWithFolderSwitch(const char* word) {
  const size_t length = sizeof kFolderSwitch - 1;
  return strlen(word) >= length && SameWord(word, length, kFolderSwitch);
}


// Whether the words before any "/D=" hold "/S": a bad line that asked for
// silence still gets no window.
bool AsksForSilence(const char* at) {
  for (;;) {
    while (*at == ' ' || *at == '\t') ++at;
    if (*at == '\0' || StartsWithFolderSwitch(at)) return false;
    const char* end = at;
    while (*end != '\0' && *end != ' ' && *end != '\t') ++end;
    if (SameWord(at, static_cast<size_t>(end - at), kSilentSwitch)) return true;
    at = end;
  }
}
}  // namespace

InstallerCommand ParseInstallerCommand(const char* line) {
  InstallerCommand command = {kActionInstall, false, ""};
  if (line == nullptr) return command;
  const InstallerCommand bad = {kActionBadArgument, AsksForSilence(line), ""};
  bool first = true;
  const char* at = line;
  for (;;) {
    while (*at == ' ' || *at == '\t') ++at;
    if (*at == '\0') break;
    if (StartsWithFolderSwitch(at)) {
      // The rest of the line, unquoted, as the folder: trailing blanks are not part of it.
      const char* value = at + sizeof kFolderSwitch - 1;
      size_t length = strlen(value);
      while (length > 0 && (value[length - 1] == ' ' || value[length - 1] == '\t')) --length;
      if (command.action != kActionInstall || length == 0 || length >= sizeof command.folder) return bad;
      memcpy(command.folder, value, length);
      command.folder[length] = '\0';
      break;
    }
    const char* end = at;
    while (*end != '\0' && *end != ' ' && *end != '\t') ++end;
    const size_t length = static_cast<size_t>(end - at);
    if (SameWord(at, length, kSilentSwitch)) {
      command.silent = true;
    } else if (at[0] == '/') {
      return bad;
    } else if (first && SameWord(at, length, kUninstallArgument)) {
      command.action = kActionUninstallRelay;
    } else if (first && SameWord(at, length, kUninstallRelayArgument)) {
      command.action = kActionUninstall;
    }
    first = false;
    at = end;
  }
  if (command.folder[0] != '\0' && !command.silent) return bad;
  return command;
}

UninstallOutcome JudgeUninstall(bool folderGone, bool anythingLeft, bool uninstallerLeft) {
  if (folderGone) return {kUninstallComplete, true, true};
  if (!anythingLeft) return {kUninstallFolderKept, true, true};
  return {kUninstallFilesKept, !uninstallerLeft, false};
}

bool FormatUninstallReport(const UninstallOutcome& outcome, const char* product, const char* folder,
                           const char* left, char* out, size_t size) {
  int written = 0;
  switch (outcome.result) {
    case kUninstallComplete:
      written = snprintf(out, size, "%s has been UnInstalled.", product);
      break;
    case kUninstallFolderKept:
      written = snprintf(out, size,
                         "%s has been UnInstalled, and its settings removed. Only its empty folder remains:\n%s\n\n"
                         "A program is using it (as its working folder, for example). Close the programs using "
                         "it, then delete the folder by hand.",
                         product, folder);
      break;
    case kUninstallFilesKept:
      written = snprintf(out, size,
                         "%s could not be fully UnInstalled. The folder:\n%s\nstill holds:\n%s\n\nClose the "
                         "programs using it, then delete the folder by hand%s",
                         product, folder, left,
                         outcome.removeEntry ? "." : ", or run the UnInstall again.");
      break;
  }
  if (written < 0 || static_cast<size_t>(written) >= size) {
    if (size > 0) out[0] = '\0';
    return false;
  }
  return true;
}

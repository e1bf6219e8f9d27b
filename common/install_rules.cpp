#include "common/install_rules.h"

#include "common/product.h"
#include "installer/resources/resource.h"

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

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

const char* WordEnd(const char* at) {
  while (*at != '\0' && !IsBlank(*at)) ++at;
  return at;
}

bool StartsWithFolderSwitch(const char* word) {
  const size_t length = sizeof kFolderSwitch - 1;
  return strlen(word) >= length && SameWord(word, length, kFolderSwitch);
}

// "/S" anywhere, after "/D=" too: a bad line that asked for silence still gets no window.
bool AsksForSilence(const char* at) {
  for (;;) {
    while (IsBlank(*at)) ++at;
    if (*at == '\0') return false;
    const char* end = WordEnd(at);
    if (SameWord(at, static_cast<size_t>(end - at), kSilentSwitch)) return true;
    at = end;
  }
}

InstallerCommand Bad(const char* line, const char* word, size_t length) {
  InstallerCommand bad = {kActionBadArgument, AsksForSilence(line), "", static_cast<size_t>(word - line), length};
  return bad;
}

// The folder of "/D=" at `at` (the switch itself, perhaps after a quote) into
// `command`. Null when it is taken, else the word that does not fit.
const char* ReadFolderSwitch(const char* at, InstallerCommand* command, size_t* badLength) {
  const bool quotedSwitch = at[0] == '"';
  const char* value = at + (quotedSwitch ? 1 : 0) + sizeof kFolderSwitch - 1;
  size_t length = strlen(value);
  while (length > 0 && IsBlank(value[length - 1])) --length;
  *badLength = sizeof kFolderSwitch - 1 + (quotedSwitch ? 1 : 0);
  // A path holds no "/" after a blank: that is a switch, and "/D=" must come last.
  for (size_t i = 1; i < length; ++i) {
    if (IsBlank(value[i - 1]) && value[i] == '/') {
      *badLength = static_cast<size_t>(WordEnd(value + i) - (value + i));
      return value + i;
    }
  }
  const bool quotedValue = !quotedSwitch && length >= 2 && value[0] == '"' && value[length - 1] == '"';
  if (quotedSwitch || quotedValue) {
    if (length == 0 || value[length - 1] != '"') return at;
    --length;
    if (quotedValue) ++value, --length;
  }
  if (length == 0 || length >= sizeof command->folder || memchr(value, '"', length) != nullptr) return at;
  for (size_t i = 0; i < length; ++i) command->folder[i] = value[i] == '/' ? '\\' : value[i];
  command->folder[length] = '\0';
  return nullptr;
}
}  // namespace

InstallerCommand ParseInstallerCommand(const char* line) {
  InstallerCommand command = {kActionInstall, false, "", 0, 0};
  if (line == nullptr) return command;
  const char* folderSwitch = nullptr;
  const char* stageWord = nullptr;
  size_t stageLength = 0;
  int words = 0;  // the words that are no switch
  const char* at = line;
  for (;;) {
    while (IsBlank(*at)) ++at;
    if (*at == '\0') break;
    if (StartsWithFolderSwitch(at) || (at[0] == '"' && StartsWithFolderSwitch(at + 1))) {
      size_t badLength = 0;
      const char* bad = ReadFolderSwitch(at, &command, &badLength);
      if (bad != nullptr) return Bad(line, bad, badLength);
      folderSwitch = at;
      break;
    }
    const char* end = WordEnd(at);
    const size_t length = static_cast<size_t>(end - at);
    if (SameWord(at, length, kSilentSwitch)) {
      command.silent = true;
    } else if (at[0] == '/') {
      return Bad(line, at, length);
    } else {
      ++words;
      stageWord = at;
      stageLength = length;
    }
    at = end;
  }
  if (words == 1 && SameWord(stageWord, stageLength, kUninstallArgument)) {
    command.action = kActionUninstallRelay;
  } else if (words == 1 && SameWord(stageWord, stageLength, kUninstallRelayArgument)) {
    command.action = kActionUninstall;
  }
  // The folder names what a silent install installs into, or what the relay's
  // copy removes; the relay itself acts on its own folder.
  if (folderSwitch != nullptr && (command.action == kActionUninstallRelay ||
                                  (command.action == kActionInstall && !command.silent))) {
    return Bad(line, folderSwitch, sizeof kFolderSwitch - 1);
  }
  return command;
}

const char* const kStagedSuffix = ".qtranew";
const char* const kBackupSuffix = ".qtraold";

const ProgramFile kProgramFiles[] = {
    {kConverterFileName, IDR_QTRA_EXE, kConverterFileName, kFromResource},
    {kHelpPageFileName, IDR_HELP_PAGE, kHelpPageFileName, kFromResource},
    {kReadMeFileName, IDR_README_TXT, "README.ICO", kFromResource},
    {"README.ICO", IDR_README_ICO, nullptr, kFromResource},
    {kManualFileName, IDR_MANUAL_TXT, "MANUAL.ICO", kFromResource},
    {"MANUAL.ICO", IDR_MANUAL_ICO, nullptr, kFromResource},
    {"UNINSTL.ICO", IDR_UNINSTL_ICO, nullptr, kFromResource},
    {kInstallerFileName, 0, "UNINSTL.ICO", kInstallerCopy},
    {kPictureFileName, 0, nullptr, kWrittenByConverter},
    {kSupportFormFileName, 0, nullptr, kWrittenByConverter},
    {kShortcutTempFileName, 0, nullptr, kShortcutScratch},
};
const size_t kProgramFileCount = sizeof kProgramFiles / sizeof kProgramFiles[0];

namespace {
bool IsPayload(const ProgramFile& file) { return file.origin == kFromResource || file.origin == kInstallerCopy; }

size_t CountPayload() {
  size_t count = 0;
  while (count < kProgramFileCount && IsPayload(kProgramFiles[count])) ++count;
  return count;
}
}  // namespace

const size_t kPayloadFileCount = CountPayload();

const ProgramFile* FindProgramFile(const char* name) {
  if (name == nullptr) return nullptr;
  for (const ProgramFile& file : kProgramFiles) {
    if (SameWord(name, strlen(name), file.name)) return &file;
  }
  return nullptr;
}

int ProgressBarsForStep(size_t step) {
  // 136 of the 150 bars make the whole payload; each file adds its share.
  return static_cast<int>(step * 136 / kPayloadFileCount);
}

bool IsOurProgramFile(const char* name) {
  if (name == nullptr) return false;
  if (FindProgramFile(name) != nullptr) return true;
  const size_t length = strlen(name);
  // The payload's files come staged and backed up too; the converter's own do not.
  for (const ProgramFile& file : kProgramFiles) {
    const size_t base = strlen(file.name);
    if (!IsPayload(file) || length <= base || !SameWord(name, base, file.name)) continue;
    if (SameWord(name + base, length - base, kStagedSuffix) || SameWord(name + base, length - base, kBackupSuffix))
      return true;
  }
  return false;
}

bool IsExplorerFile(const char* name) {
  return name != nullptr && (SameWord(name, strlen(name), "desktop.ini") || SameWord(name, strlen(name), "Thumbs.db"));
}

FolderContents JudgeFolderContents(const FolderEntryName* entries, size_t count) {
  FolderContents contents = kContentsEmpty;
  for (size_t i = 0; i < count; ++i) {
    if (!entries[i].isFolder && IsExplorerFile(entries[i].name)) continue;
    if (entries[i].isFolder || !IsOurProgramFile(entries[i].name)) return kContentsForeign;
    contents = kContentsOurs;
  }
  return contents;
}

UninstallOutcome JudgeUninstall(bool folderGone, bool oursLeft, bool othersLeft, bool uninstallerLeft) {
  if (folderGone) return {kUninstallComplete, true, true};
  if (oursLeft) return {kUninstallFilesKept, !uninstallerLeft, false};
  if (othersLeft) return {kUninstallOthersKept, true, true};
  return {kUninstallFolderKept, true, true};
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
    case kUninstallOthersKept:
      written = snprintf(out, size,
                         "%s has been UnInstalled, and its settings removed. Its folder:\n%s\nwas kept because it "
                         "holds other files, which are not part of %s:\n%s",
                         product, folder, product, left);
      break;
  }
  if (written < 0 || static_cast<size_t>(written) >= size) {
    if (size > 0) out[0] = '\0';
    return false;
  }
  return true;
}

#include "installer/folder_names.h"

#include <cstdlib>
#include <cwchar>
#include <cwctype>

#include "common/product.h"
#include "common/strings.h"
#include "common/wide_text.h"
#include "installer/installer_state.h"

namespace {
bool g_nameFailed = false;

void ReportNotNameable(HWND owner, const char* shown) {
  const bool first = !g_nameFailed;
  g_nameFailed = true;
  if (!first) return;
  ShowMessage(owner, kInstallCaption, MB_ICONERROR,
              "The folder\n%s\ncan not be used: its name has letters that this Windows can not give to %s (shown "
              "as ?), and it has no short name to use instead.\n\nWindows 10 version 1903 and later give every "
              "letter. On an older Windows choose a folder whose name has only letters of the language set for "
              "non-Unicode programs.",
              shown, kProductName);
}

// Where "/D=" starts a word after the program's name, or null.
const wchar_t* FolderSwitchOf(const wchar_t* line) {
  const wchar_t* at = line;
  if (*at == L'"') {
    at = wcschr(at + 1, L'"');
    if (at == nullptr) return nullptr;
    ++at;
  }
  for (; *at != L'\0'; ++at) {
    const bool wordStart = at > line && (at[-1] == L' ' || at[-1] == L'\t');
    if (wordStart && at[0] == L'/' && towupper(at[1]) == L'D' && at[2] == L'=') return at + 3;
  }
  return nullptr;
}
}  // namespace

bool UsableFolderName(HWND owner, const wchar_t* path, char* out) {
  const PathFormChoice choice = ProgramPathOf(path, out, kPathSize);
  if (choice == kPathNotNameable) ReportNotNameable(owner, out);
  if (choice == kUseLongForm || choice == kUseShortForm) return true;
  out[0] = '\0';
  return false;
}

bool FolderNameFailed() { return g_nameFailed; }

bool OwnProgramPath(HWND owner, char* out) {
  wchar_t own[kPathSize] = {};
  const DWORD length = ::GetModuleFileNameW(nullptr, own, kPathSize);
  if (length == 0 || length >= kPathSize) {
    out[0] = '\0';
    return false;
  }
  return UsableFolderName(owner, own, out);
}

// True when the command line reached this program with every letter.
bool CommandLineIsExact() {
  const wchar_t* line = ::GetCommandLineW();
  const size_t size = 3 * wcslen(line) + 1;
  char* bytes = static_cast<char*>(calloc(size, 1));
  const bool exact = bytes != nullptr && WideToCodePage(CP_ACP, line, bytes, size);
  free(bytes);
  return exact;
}

bool RequestedFolderName(const char* typed, char* out) {
  // Where no letter was lost, the folder is the one the command line's reader found.
  const wchar_t* folder = CommandLineIsExact() ? nullptr : FolderSwitchOf(::GetCommandLineW());
  if (folder == nullptr) {
    CopyStringBounded(out, typed, kPathSize);
    return true;
  }
  // As the command line is read: trailing blanks and one pair of quotes are not part of the folder.
  size_t length = wcslen(folder);
  while (length > 0 && (folder[length - 1] == L' ' || folder[length - 1] == L'\t')) --length;
  if (length >= 2 && folder[0] == L'"' && folder[length - 1] == L'"') {
    ++folder;
    length -= 2;
  }
  wchar_t wide[kPathSize];
  if (length >= kPathSize) return false;
  wmemcpy(wide, folder, length);
  wide[length] = L'\0';
  return UsableFolderName(nullptr, wide, out);
}

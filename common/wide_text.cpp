#include "common/wide_text.h"

#include <cstring>
#include <cwchar>
#include <string>

namespace {

bool IsSystemLeadByte(unsigned char byte) { return ::IsDBCSLeadByte(byte) != FALSE; }

UINT Resolved(UINT codePage) { return codePage == CP_ACP ? ::GetACP() : codePage; }

TextCoding CodingOf(UINT codePage) {
  if (codePage == CP_UTF8) return {kUtf8Letters, nullptr};
  CPINFO info = {};
  if (codePage == ::GetACP() && ::GetCPInfo(codePage, &info) && info.MaxCharSize == 2) {
    return {kDoubleByteLetters, IsSystemLeadByte};
  }
  return {kOneByteLetters, nullptr};
}

// The whole of `text` in `codePage` (resolved). True when it reads back as the
// same text, so no letter was replaced.
bool Convert(UINT codePage, const wchar_t* text, std::string* bytes) {
  bytes->clear();
  // UTF-8 takes no flags; elsewhere no look-alike letter may stand in for a missing one.
  const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const int needed = ::WideCharToMultiByte(codePage, flags, text, -1, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return false;
  bytes->assign(static_cast<size_t>(needed), '\0');
  if (::WideCharToMultiByte(codePage, flags, text, -1, &(*bytes)[0], needed, nullptr, nullptr) != needed) {
    bytes->clear();
    return false;
  }
  bytes->resize(static_cast<size_t>(needed) - 1);
  const int back = ::MultiByteToWideChar(codePage, 0, bytes->c_str(), -1, nullptr, 0);
  if (back <= 0) return false;
  std::wstring again(static_cast<size_t>(back), L'\0');
  return ::MultiByteToWideChar(codePage, 0, bytes->c_str(), -1, &again[0], back) == back &&
         wcscmp(again.c_str(), text) == 0;
}

PathFormCheck FormOf(const wchar_t* path, std::string* bytes) {
  const bool exact = Convert(::GetACP(), path, bytes);
  return {!bytes->empty(), exact, bytes->size()};
}

}  // namespace

const TextCoding& ProgramTextCoding() {
  static const TextCoding coding = CodingOf(::GetACP());
  return coding;
}

void DropPartialLetter(char* text) {
  if (text != nullptr) text[WholeLettersLength(text, ProgramTextCoding())] = '\0';
}

char* CopyProgramText(char* destination, const char* source, size_t size) {
  return CopyLettersBounded(destination, source, size, ProgramTextCoding());
}

bool WideToCodePage(UINT codePage, const wchar_t* text, char* out, size_t size) {
  if (out == nullptr || size == 0) return false;
  out[0] = '\0';
  if (text == nullptr) return true;
  const UINT resolved = Resolved(codePage);
  std::string bytes;
  const bool exact = Convert(resolved, text, &bytes);
  CopyLettersBounded(out, bytes.c_str(), size, CodingOf(resolved));
  return exact && strlen(out) == bytes.size();
}

bool ProgramTextToUtf8(const char* text, char* out, size_t size) {
  if (::GetACP() == CP_UTF8) {
    CopyLettersBounded(out, text, size, CodingOf(CP_UTF8));
    return strlen(out) == strlen(text);
  }
  const int needed = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (needed <= 0) return false;
  std::wstring wide(static_cast<size_t>(needed), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], needed);
  return WideToCodePage(CP_UTF8, wide.c_str(), out, size);
}

PathFormChoice ProgramPathOf(const wchar_t* path, char* out, size_t size) {
  std::string longForm;
  std::string shortForm;
  const PathFormCheck longCheck = FormOf(path, &longForm);
  PathFormCheck shortCheck = {false, false, 0};
  // The short name is asked for only where the long one will not do.
  if (!longCheck.exact || longCheck.length >= size) {
    const DWORD needed = ::GetShortPathNameW(path, nullptr, 0);
    std::wstring shortPath(needed > 0 ? needed : 1, L'\0');
    if (needed > 0 && ::GetShortPathNameW(path, &shortPath[0], needed) < needed) {
      shortCheck = FormOf(shortPath.c_str(), &shortForm);
    }
  }
  const PathFormChoice choice = ChoosePathForm(longCheck, shortCheck, size);
  CopyProgramText(out, choice == kUseShortForm ? shortForm.c_str() : choice == kPathTooLong ? "" : longForm.c_str(),
                  size);
  return choice;
}

void CurrentUserName(UINT codePage, char* out, size_t size) {
  wchar_t name[257] = {};  // the longest user name and its terminator
  DWORD count = sizeof name / sizeof name[0];
  if (!::GetUserNameW(name, &count)) name[0] = L'\0';
  WideToCodePage(codePage, name, out, size);
}

#include "common/wide_text.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>

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

// A converted text on the heap: the whole of it, however long.
struct Bytes {
  char* text = nullptr;
  size_t length = 0;
  Bytes() = default;
  Bytes(const Bytes&) = delete;
  Bytes& operator=(const Bytes&) = delete;
  ~Bytes() { free(text); }
};

// The whole of `text` in `codePage` (resolved). True when it reads back as the
// same text, so no letter was replaced.
bool Convert(UINT codePage, const wchar_t* text, Bytes* bytes) {
  // UTF-8 takes no flags; elsewhere no look-alike letter may stand in for a missing one.
  const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const int needed = ::WideCharToMultiByte(codePage, flags, text, -1, nullptr, 0, nullptr, nullptr);
  bytes->text = static_cast<char*>(calloc(needed > 0 ? needed : 1, 1));
  if (bytes->text == nullptr || needed <= 0 ||
      ::WideCharToMultiByte(codePage, flags, text, -1, bytes->text, needed, nullptr, nullptr) != needed) {
    return false;
  }
  bytes->length = static_cast<size_t>(needed) - 1;
  const int back = ::MultiByteToWideChar(codePage, 0, bytes->text, -1, nullptr, 0);
  wchar_t* again = static_cast<wchar_t*>(calloc(back > 0 ? back : 1, sizeof(wchar_t)));
  const bool exact = again != nullptr && back > 0 &&
                     ::MultiByteToWideChar(codePage, 0, bytes->text, -1, again, back) == back && wcscmp(again, text) == 0;
  free(again);
  return exact;
}

PathFormCheck FormOf(const wchar_t* path, Bytes* bytes) {
  const bool exact = Convert(::GetACP(), path, bytes);
  return {bytes->length > 0, exact, bytes->length};
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
  Bytes bytes;
  const bool exact = Convert(resolved, text, &bytes);
  CopyLettersBounded(out, bytes.text != nullptr ? bytes.text : "", size, CodingOf(resolved));
  return exact && strlen(out) == bytes.length;
}

bool ProgramTextToUtf8(const char* text, char* out, size_t size) {
  if (::GetACP() == CP_UTF8) {
    CopyLettersBounded(out, text, size, CodingOf(CP_UTF8));
    return strlen(out) == strlen(text);
  }
  const int needed = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  wchar_t* wide = static_cast<wchar_t*>(calloc(needed > 0 ? needed : 1, sizeof(wchar_t)));
  const bool converted = wide != nullptr && needed > 0 && ::MultiByteToWideChar(CP_ACP, 0, text, -1, wide, needed) == needed &&
                         WideToCodePage(CP_UTF8, wide, out, size);
  free(wide);
  return converted;
}

PathFormChoice ProgramPathOf(const wchar_t* path, char* out, size_t size) {
  Bytes longForm;
  Bytes shortForm;
  const PathFormCheck longCheck = FormOf(path, &longForm);
  PathFormCheck shortCheck = {false, false, 0};
  // The short name is asked for only where the long one will not do.
  wchar_t shortPath[MAX_PATH];
  if (!longCheck.exact || longCheck.length >= size) {
    const DWORD length = ::GetShortPathNameW(path, shortPath, MAX_PATH);
    if (length > 0 && length < MAX_PATH) shortCheck = FormOf(shortPath, &shortForm);
  }
  const PathFormChoice choice = ChoosePathForm(longCheck, shortCheck, size);
  const char* chosen = choice == kUseShortForm ? shortForm.text : choice == kPathTooLong ? nullptr : longForm.text;
  CopyProgramText(out, chosen != nullptr ? chosen : "", size);
  return choice;
}

void CurrentUserName(UINT codePage, char* out, size_t size) {
  wchar_t name[257] = {};  // the longest user name and its terminator
  DWORD count = sizeof name / sizeof name[0];
  if (!::GetUserNameW(name, &count)) name[0] = L'\0';
  WideToCodePage(codePage, name, out, size);
}

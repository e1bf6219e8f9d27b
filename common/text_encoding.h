// How the programs' 8-bit texts are made of letters, and the decisions that
// follow from it: where a text may be cut, which form of a path the ANSI
// functions can use, and a file address for a browser. Portable: no <windows.h>.
#pragma once
#include <cstddef>

// The bytes of one letter: always one byte, a UTF-8 sequence, or a lead byte
// and its trail byte in a double-byte code page (Chinese, Japanese, Korean).
enum LetterCoding { kOneByteLetters, kUtf8Letters, kDoubleByteLetters };

struct TextCoding {
  LetterCoding letters;
  bool (*isLeadByte)(unsigned char byte);  // double-byte code pages only
};

// The length of `text` without a letter cut short at its end: what remains
// whole after a bounded copy or read. A malformed byte counts as a letter.
size_t WholeLettersLength(const char* text, const TextCoding& coding);

// CopyStringBounded that never leaves part of a letter at the end of the copy.
char* CopyLettersBounded(char* destination, const char* source, size_t size, const TextCoding& coding);

// One form of a path in the programs' code page.
struct PathFormCheck {
  bool available;  // the system gave this form at all
  bool exact;      // it names the same folder: no letter was replaced
  size_t length;   // in bytes, without the terminator
};

enum PathFormChoice {
  kUseLongForm,
  kUseShortForm,      // the 8.3 name, for a long name the code page cannot write
  kPathNotNameable,   // neither form names the folder in this code page
  kPathTooLong,       // an exact form exists but does not fit
};

// Which form of a path to use in a buffer of `size` bytes: the long form when
// it is exact, else the short (8.3) form when that is exact.
PathFormChoice ChoosePathForm(const PathFormCheck& longForm, const PathFormCheck& shortForm, size_t size);

// "file:///" followed by the UTF-8 path `utf8Path` (backslashes kept), with
// spaces, '%', '#', '?', '"' and every byte of a letter beyond ASCII written
// as %XX, so a browser reads the whole path as one address whatever the code
// page of its command line. False, with `out` empty, when it does not fit.
bool FileUrlOf(const char* utf8Path, char* out, size_t size);

#include "common/text_encoding.h"

#include <cstring>

#include "common/strings.h"

namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Bytes a UTF-8 letter announces by its first byte; 1 for a byte no letter starts with.
size_t Utf8Announced(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 1;
}

// Bytes of the letter at `at`, or 0 when the text ends inside it.
size_t LetterAt(const unsigned char* at, const TextCoding& coding) {
  if (coding.letters == kDoubleByteLetters && coding.isLeadByte != nullptr && coding.isLeadByte(at[0])) {
    return at[1] == '\0' ? 0 : 2;
  }
  if (coding.letters != kUtf8Letters) return 1;
  const size_t announced = Utf8Announced(at[0]);
  for (size_t i = 1; i < announced; ++i) {
    if (at[i] == '\0') return 0;
    if (!IsContinuation(at[i])) return 1;  // malformed: the first byte stands alone
  }
  return announced;
}

const char kHex[] = "0123456789ABCDEF";

bool NeedsEscape(unsigned char byte) {
  return byte >= 0x80 || byte <= ' ' || byte == '%' || byte == '#' || byte == '?' || byte == '"';
}

}  // namespace

size_t WholeLettersLength(const char* text, const TextCoding& coding) {
  if (text == nullptr) return 0;
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
  size_t length = 0;
  while (bytes[length] != '\0') {
    const size_t letter = LetterAt(bytes + length, coding);
    if (letter == 0) break;
    length += letter;
  }
  return length;
}

char* CopyLettersBounded(char* destination, const char* source, size_t size, const TextCoding& coding) {
  // Measured first: the destination may be the source itself.
  const size_t sourceLength = source != nullptr ? strlen(source) : 0;
  CopyStringBounded(destination, source, size);
  // Only a cut can leave part of a letter; a whole source is copied as it is.
  if (destination != nullptr && sourceLength >= size) destination[WholeLettersLength(destination, coding)] = '\0';
  return destination;
}

PathFormChoice ChoosePathForm(const PathFormCheck& longForm, const PathFormCheck& shortForm, size_t size) {
  const bool longUsable = longForm.available && longForm.exact;
  const bool shortUsable = shortForm.available && shortForm.exact;
  if (longUsable && longForm.length < size) return kUseLongForm;
  if (shortUsable && shortForm.length < size) return kUseShortForm;
  return longUsable || shortUsable ? kPathTooLong : kPathNotNameable;
}

bool FileUrlOf(const char* utf8Path, char* out, size_t size) {
  if (out == nullptr || size == 0) return false;
  const char prefix[] = "file:///";
  size_t used = sizeof prefix - 1;
  bool fits = used < size;
  if (fits) memcpy(out, prefix, used);
  for (const unsigned char* at = reinterpret_cast<const unsigned char*>(utf8Path != nullptr ? utf8Path : "");
       fits && *at != '\0'; ++at) {
    if (!NeedsEscape(*at)) {
      fits = used + 1 < size;
      if (fits) out[used++] = static_cast<char>(*at);
    } else {
      fits = used + 3 < size;
      if (fits) {
        out[used++] = '%';
        out[used++] = kHex[*at >> 4];
        out[used++] = kHex[*at & 0x0F];
      }
    }
  }
  out[fits ? used : 0] = '\0';
  return fits;
}

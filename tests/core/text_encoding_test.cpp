#include "common/text_encoding.h"

#include <gtest/gtest.h>

namespace {

bool FakeLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }
const TextCoding kUtf8 = {kUtf8Letters, nullptr};
const TextCoding kDoubleByte = {kDoubleByteLetters, FakeLeadByte};
const TextCoding kOneByte = {kOneByteLetters, nullptr};

TEST(TextEncoding, ACutNeverEndsInsidePartOfALetter) {
  struct Case {
    const TextCoding& coding;
    const char* source;
    size_t size;
    const char* copied;
  } cases[] = {
      {kUtf8, "\xD0\x98\xD0\xB2", 4, "\xD0\x98"},            // "Иван" cut inside its second letter
      {kUtf8, "\xD0\x98\xD0\xB2", 5, "\xD0\x98\xD0\xB2"},    // fits whole
      {kUtf8, "ab\xE5\xBC\xB5", 5, "ab"},                     // a three-byte letter
      {kUtf8, "a\xF0\x9F\x98\x80z", 6, "a\xF0\x9F\x98\x80"},  // a four-byte letter just fits
      {kUtf8, "\xB2\xB3xyz", 3, "\xB2\xB3"},                  // malformed bytes stand alone
      {kDoubleByte, "a\x81\x5C\x82\x40", 5, "a\x81\x5C"},     // a trail byte that looks like '\'
      {kOneByte, "\xE9\xE9\xE9", 3, "\xE9\xE9"},
  };
  for (const Case& c : cases) {
    char out[16];
    EXPECT_STREQ(c.copied, CopyLettersBounded(out, c.source, c.size, c.coding)) << c.source << " " << c.size;
  }
  EXPECT_EQ(1u, WholeLettersLength("a\xD0", kUtf8)) << "a bounded read that stopped inside a letter";
}

TEST(TextEncoding, APathTheCodePageCannotWriteIsReachedThroughItsShortName) {
  const PathFormCheck exact = {true, true, 20};
  const PathFormCheck lossy = {true, false, 20};
  const PathFormCheck none = {false, false, 0};
  const PathFormCheck longExact = {true, true, 300};
  EXPECT_EQ(kUseLongForm, ChoosePathForm(exact, none, 261));
  EXPECT_EQ(kUseShortForm, ChoosePathForm(lossy, exact, 261));
  EXPECT_EQ(kUseShortForm, ChoosePathForm(longExact, exact, 261));
  EXPECT_EQ(kPathNotNameable, ChoosePathForm(lossy, none, 261)) << "no short name (none made, or a new folder)";
  EXPECT_EQ(kPathNotNameable, ChoosePathForm(lossy, lossy, 261));
  EXPECT_EQ(kPathTooLong, ChoosePathForm(longExact, none, 261));
  EXPECT_EQ(kPathTooLong, ChoosePathForm(lossy, longExact, 261));
}

TEST(TextEncoding, FileAddressEscapesSpacesAndLettersBeyondAscii) {
  char url[64];
  ASSERT_TRUE(FileUrlOf("C:\\\xD0\x98 #1%\\a.htm", url, sizeof url));
  EXPECT_STREQ("file:///C:\\%D0%98%20%231%25\\a.htm", url);
  EXPECT_FALSE(FileUrlOf("C:\\\xD0\x98", url, 16));
  EXPECT_STREQ("", url) << "not cut";
}

}  // namespace

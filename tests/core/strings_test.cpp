#include "common/strings.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

TEST(CopyStringBounded, CutsAtSizeMinusOneAndTerminates) {
  char out[8];
  memset(out, 'x', sizeof out);
  CopyStringBounded(out, "abcdefg", 5);
  EXPECT_STREQ("abcd", out);
  CopyStringBounded(out, "abcd", 5);
  EXPECT_STREQ("abcd", out);
  memset(out, 'x', sizeof out);
  CopyStringBounded(out, "abc", 1);
  EXPECT_STREQ("", out);
  out[0] = 'x';
  CopyStringBounded(out, "abc", 0);
  EXPECT_EQ('\0', out[0]);
  EXPECT_EQ('x', out[1]);  // size 0 writes only the first byte
}

TEST(CopyStringBounded, NullArguments) {
  char out[4] = "abc";
  EXPECT_EQ(nullptr, CopyStringBounded(nullptr, "abc", 4));
  EXPECT_EQ(out, CopyStringBounded(out, nullptr, 4));
  EXPECT_STREQ("", out);
}

TEST(TrimTrailing, SeparatorsRemoveEveryKindAtTheEnd) {
  char path[] = "C:\\Program Files\\Quantara\\ \r\n";
  TrimTrailingSeparators(path);
  EXPECT_STREQ("C:\\Program Files\\Quantara", path);
  char slashes[] = "//\\/";
  TrimTrailingSeparators(slashes);
  EXPECT_STREQ("", slashes);
  char root[] = "C:\\";
  TrimTrailingSeparators(root);
  EXPECT_STREQ("C:", root);
  char inner[] = "a b/c";
  TrimTrailingSeparators(inner);
  EXPECT_STREQ("a b/c", inner);
  TrimTrailingSeparators(nullptr);
}

TEST(TrimTrailing, BackslashesKeepForwardSlash) {
  char forward[] = "C:/data/";
  TrimTrailingBackslashes(forward);
  EXPECT_STREQ("C:/data/", forward);
  char back[] = "C:\\data\\\\ \r\n";
  TrimTrailingBackslashes(back);
  EXPECT_STREQ("C:\\data", back);
  TrimTrailingBackslashes(nullptr);
}

TEST(TrimTrailing, BlanksKeepSeparators) {
  char text[] = "C:\\data\\ \r\n \n";
  TrimTrailingBlanks(text);
  EXPECT_STREQ("C:\\data\\", text);
  char blank[] = " \r\n";
  TrimTrailingBlanks(blank);
  EXPECT_STREQ("", blank);
}

TEST(FindNoCase, PositionPointsIntoTheUnchangedText) {
  char command[] = "\"C:\\Program Files\\Browser\\BROWSE.EXE\" -url \"%1\"";
  char* hit = FindNoCase(command, ".exe");
  ASSERT_NE(nullptr, hit);
  EXPECT_EQ(command + 32, hit);  // just after "BROWSE"
  EXPECT_EQ(0, strncmp(hit, ".EXE", 4));
  EXPECT_STREQ("\"C:\\Program Files\\Browser\\BROWSE.EXE\" -url \"%1\"", command);
}

TEST(FindNoCase, MissesAndNulls) {
  EXPECT_EQ(nullptr, FindNoCase("abc", "abcd"));
  EXPECT_EQ(nullptr, FindNoCase(static_cast<const char*>(nullptr), "a"));
  EXPECT_EQ(nullptr, FindNoCase("abc", nullptr));
  const char* text = "xAbC";
  EXPECT_EQ(text + 1, FindNoCase(text, "aBc"));
  EXPECT_EQ(text, FindNoCase(text, ""));
  // Only A-Z fold: other bytes must match exactly.
  EXPECT_EQ(nullptr, FindNoCase("\xC4", "\xE4"));
}

TEST(RemoveMnemonicMarks, ReadsAsShown) {
  const wchar_t* cases[][2] = {{L"&Round Decimal", L"Round Decimal"}, {L"grams/liter", L"grams/liter"},
                               {L"Salt && Pepper", L"Salt & Pepper"}, {L"&&&x", L"&x"}, {L"end&", L"end&"}};
  for (const auto& c : cases) {
    std::wstring text = c[0];
    RemoveMnemonicMarks(&text[0]);
    EXPECT_EQ(std::wstring(c[1]), std::wstring(text.c_str()));
  }
  RemoveMnemonicMarks(nullptr);
}

// The Windows version name for every row of the version table.
#include <gtest/gtest.h>

#include <cstring>

#include "converter/support/windows_version_table.h"

namespace {

struct VersionRow {
  unsigned long platform, major, minor;
  const char* expected;
};

std::string Describe(unsigned long platform, unsigned long major, unsigned long minor) {
  char text[128];
  memset(text, 'x', sizeof(text));
  DescribeWindowsVersion(platform, major, minor, text, sizeof(text));
  return text;
}

TEST(SupportVersionTable, EveryRowGivesItsName) {
  const VersionRow rows[] = {
      // Win32s on Windows 3.x: only the minor number counts.
      {0, 3, 1, "Windows 3.1"},
      {0, 7, 1, "Windows 3.1"},
      {0, 3, 11, "Windows 3.11"},
      {0, 0, 11, "Windows 3.11"},
      {0, 3, 10, "Windows Unknown(1) PF0 3.10"},
      {0, 3, 0, "Windows Unknown(1) PF0 3.0"},
      // The 9x line.
      {1, 4, 0, "Windows 95"},
      {1, 4, 10, "Windows 98"},
      {1, 4, 90, "Windows ME"},
      {1, 4, 3, "Windows Unknown(2) PF1 4.3"},
      {1, 5, 0, "Windows Unknown(2) PF1 5.0"},
      {1, 3, 10, "Windows Unknown(2) PF1 3.10"},
      // The NT line.
      {2, 3, 51, "Windows NT 3.51"},
      {2, 3, 1, "Windows NT 3.1"},
      {2, 4, 0, "Windows NT 4.0"},
      {2, 5, 0, "Windows 2000"},
      {2, 5, 1, "Windows XP"},
      {2, 5, 2, "Windows Server 2003 family"},
      {2, 6, 0, "Windows Vista"},  // Server 2008 too: the product type is not consulted
      {2, 6, 1, "Windows 7 or 2008 R2"},
      {2, 4, 10, "Windows Unknown(3) PF2 4.10"},
      {2, 5, 3, "Windows Unknown(3) PF2 5.3"},
      {2, 6, 2, "Windows Unknown(3) PF2 6.2"},
      {2, 6, 3, "Windows Unknown(3) PF2 6.3"},
      {2, 10, 0, "Windows Unknown(3) PF2 10.0"},
      {2, 2, 0, "Windows Unknown(3) PF2 2.0"},
      // Anything else.
      {3, 10, 0, "Windows Unknown(4) PF3 10.0"},
      {4294967295ul, 4294967295ul, 4294967295ul, "Windows Unknown(4) PF4294967295 4294967295.4294967295"},
      // A failed GetVersionExA leaves everything at 0.
      {0, 0, 0, "Windows Unknown(1) PF0 0.0"},
  };
  for (const VersionRow& row : rows) {
    EXPECT_EQ(row.expected, Describe(row.platform, row.major, row.minor))
        << "platform " << row.platform << ", version " << row.major << "." << row.minor;
  }
}

TEST(SupportVersionTable, OutputIsCutToFit) {
  char text[10];
  memset(text, 'x', sizeof(text));
  DescribeWindowsVersion(2, 5, 2, text, 8);
  EXPECT_STREQ("Windows", text);
  EXPECT_EQ('x', text[8]);
  DescribeWindowsVersion(2, 6, 1, text, 4);
  EXPECT_STREQ("Win", text);
  DescribeWindowsVersion(2, 9, 9, text, 8);
  EXPECT_STREQ("Windows", text);
}

}  // namespace

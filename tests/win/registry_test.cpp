// The settings library against the real registry.
#include "common/registry.h"

#include <windows.h>

#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "tests/harness/test_support.h"

namespace {

const char kSubKey[] = "RegistryTest";
const std::string kKeyPath = qtest::ProductSubKey(kSubKey);

class RegistryTest : public testing::Test {
 protected:
  void SetUp() override { qtest::DeleteRegTree(kKeyPath); }
  void TearDown() override { qtest::DeleteRegTree(kKeyPath); }

  static std::string StoredBytes(const char* name, DWORD* type = nullptr) {
    std::string data;
    qtest::ReadRegValue(kKeyPath, name, &data, type);
    return data;
  }
};

TEST_F(RegistryTest, MissingIntegerStoresItsDefaultAsText) {
  EXPECT_EQ(5, ReadRegInt(kSubKey, "Count", 5, ProductRegKey));
  DWORD type = 0;
  EXPECT_EQ(std::string("5\0", 2), StoredBytes("Count", &type));
  EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
}

TEST_F(RegistryTest, MissingTextWithoutDefaultCreatesNothing) {
  char out[32] = "junk";
  EXPECT_EQ(0, ReadRegString(kSubKey, "Name", nullptr, out, sizeof out, ProductRegKey));
  EXPECT_STREQ("", out);
  EXPECT_FALSE(qtest::RegKeyExists(kKeyPath));
}

TEST_F(RegistryTest, EmptyValueCountsAsMissing) {
  ASSERT_TRUE(qtest::WriteRegText(kKeyPath, "Name", ""));
  char out[32] = {};
  EXPECT_EQ(3, ReadRegString(kSubKey, "Name", "abc", out, sizeof out, ProductRegKey));
  EXPECT_STREQ("abc", out);
  EXPECT_EQ("abc", qtest::ReadRegText(kKeyPath, "Name"));
}

TEST_F(RegistryTest, DefaultCutToTheOutputIsStoredCut) {
  char out[5] = {};
  EXPECT_EQ(4, ReadRegString(kSubKey, "Name", "abcdefg", out, sizeof out, ProductRegKey));
  EXPECT_STREQ("abcd", out);
  EXPECT_EQ("abcd", qtest::ReadRegText(kKeyPath, "Name"));
}

TEST_F(RegistryTest, OutputBufferMayBeItsOwnDefault) {
  char inPlace[16] = "kept";
  EXPECT_EQ(4, ReadRegString(kSubKey, "Name", inPlace, inPlace, sizeof inPlace, ProductRegKey));
  EXPECT_STREQ("kept", inPlace);
  EXPECT_EQ("kept", qtest::ReadRegText(kKeyPath, "Name"));
}

TEST_F(RegistryTest, IntegersReadLeadingDigitsOnly) {
  ASSERT_TRUE(qtest::WriteRegText(kKeyPath, "Mixed", "42abc"));
  ASSERT_TRUE(qtest::WriteRegText(kKeyPath, "Letters", "abc"));
  ASSERT_TRUE(qtest::WriteRegText(kKeyPath, "Signed", "  -17"));
  EXPECT_EQ(42, ReadRegInt(kSubKey, "Mixed", 7, ProductRegKey));
  EXPECT_EQ("42abc", qtest::ReadRegText(kKeyPath, "Mixed"));
  EXPECT_EQ(0, ReadRegInt(kSubKey, "Letters", 7, ProductRegKey));
  EXPECT_EQ(-17, ReadRegInt(kSubKey, "Signed", 7, ProductRegKey));
}

TEST_F(RegistryTest, UnsignedRoundTripOfAWindowHandle) {
  HWND desktop = ::GetDesktopWindow();
  unsigned long handle = HandleToULong(desktop);
  ASSERT_EQ(1, WriteRegUnsigned(kSubKey, "Handle", handle, ProductRegKey));
  EXPECT_EQ(handle, ReadRegUnsigned(kSubKey, "Handle", 0, ProductRegKey));
  ASSERT_EQ(1, WriteRegUnsigned(kSubKey, "Big", 4294967295ul, ProductRegKey));
  EXPECT_EQ("4294967295", qtest::ReadRegText(kKeyPath, "Big"));
  EXPECT_EQ(4294967295ul, ReadRegUnsigned(kSubKey, "Big", 0, ProductRegKey));
  // Automatic base, as the standard unsigned conversion reads it.
  ASSERT_TRUE(qtest::WriteRegText(kKeyPath, "Hex", "0x1F"));
  EXPECT_EQ(31ul, ReadRegUnsigned(kSubKey, "Hex", 0, ProductRegKey));
}

TEST_F(RegistryTest, WriteCreatesMissingParentKeys) {
  const std::string nested = std::string(kSubKey) + "\\Deeper\\Deepest";
  EXPECT_EQ(1, WriteRegInt(nested.c_str(), "Value", -3, ProductRegKey));
  EXPECT_EQ("-3", qtest::ReadRegText(kKeyPath + "\\Deeper\\Deepest", "Value"));
}

TEST_F(RegistryTest, WriteReportsAFailedValueWrite) {
  // A value name longer than the registry allows cannot be stored.
  std::string longName(20000, 'n');
  EXPECT_EQ(0, WriteRegString(kSubKey, longName.c_str(), "x", ProductRegKey));
  EXPECT_EQ(0, RegWriteBusy);
  EXPECT_EQ(1, WriteRegString(kSubKey, "Fine", "x", ProductRegKey));
}

TEST_F(RegistryTest, OverlongStoredTextCountsAsMissing) {
  const std::string longest(259, 'a');
  ASSERT_TRUE(qtest::WriteRegText(kKeyPath, "Fits", longest));
  char out[300] = {};
  EXPECT_EQ(259, ReadRegString(kSubKey, "Fits", "d", out, sizeof out, ProductRegKey));
  EXPECT_EQ(longest, out);

  ASSERT_TRUE(qtest::WriteRegText(kKeyPath, "TooLong", std::string(260, 'b')));
  EXPECT_EQ(1, ReadRegString(kSubKey, "TooLong", "d", out, sizeof out, ProductRegKey));
  EXPECT_STREQ("d", out);
  EXPECT_EQ("d", qtest::ReadRegText(kKeyPath, "TooLong"));
}

TEST_F(RegistryTest, DataWithoutTerminatorIsReadSafely) {
  // 260 bytes and no zero: the whole read buffer, no terminator inside it.
  const std::string full(260, 'c');
  ASSERT_TRUE(qtest::WriteRegRaw(kKeyPath, "Full", REG_BINARY, full.data(), 260));
  char out[300];
  memset(out, 'z', sizeof out);
  EXPECT_EQ(1, ReadRegString(kSubKey, "Full", "d", out, sizeof out, ProductRegKey));
  EXPECT_STREQ("d", out);

  // Shorter data without a terminator ends at its length.
  ASSERT_TRUE(qtest::WriteRegRaw(kKeyPath, "Short", REG_BINARY, "xyz", 3));
  EXPECT_EQ(3, ReadRegString(kSubKey, "Short", "d", out, sizeof out, ProductRegKey));
  EXPECT_STREQ("xyz", out);

  // Data of 259 bytes without a terminator still fits with one.
  const std::string almost(259, 'e');
  ASSERT_TRUE(qtest::WriteRegRaw(kKeyPath, "Almost", REG_BINARY, almost.data(), 259));
  EXPECT_EQ(259, ReadRegString(kSubKey, "Almost", "d", out, sizeof out, ProductRegKey));
}

TEST_F(RegistryTest, StoredTextIsCutToTheOutputSize) {
  ASSERT_TRUE(qtest::WriteRegText(kKeyPath, "Name", "abcdefgh"));
  char out[4] = {};
  EXPECT_EQ(3, ReadRegString(kSubKey, "Name", "d", out, sizeof out, ProductRegKey));
  EXPECT_STREQ("abc", out);
  EXPECT_EQ("abcdefgh", qtest::ReadRegText(kKeyPath, "Name"));
}

TEST_F(RegistryTest, WritesFromTwoThreadsAreNeitherLost) {
  auto writer = [](const char* name) {
    for (int i = 0; i < 50; ++i) WriteRegInt(kSubKey, name, i, ProductRegKey);
  };
  std::thread first(writer, "First");
  std::thread second(writer, "Second");
  first.join();
  second.join();
  EXPECT_EQ("49", qtest::ReadRegText(kKeyPath, "First"));
  EXPECT_EQ("49", qtest::ReadRegText(kKeyPath, "Second"));
  EXPECT_EQ(0, RegWriteBusy);
}

}  // namespace

namespace {

// How a value stands before a read: the key missing, the value missing, or stored data.
struct GroupCase {
  const char* what;
  bool keyExists;
  const char* data;  // null: no value
  size_t size;       // bytes of data, without a terminator for raw data
  const char* defaultText;
  size_t outputSize;
};

const GroupCase kGroupCases[] = {
    {"no key, default", false, nullptr, 0, "7", 32},
    {"no key, no default", false, nullptr, 0, nullptr, 32},
    {"no value, default", true, nullptr, 0, "abc", 32},
    {"empty value", true, "", 1, "abc", 32},
    {"stored text", true, "42 apples", 10, "d", 32},
    {"stored text cut to the output", true, "abcdefgh", 9, "d", 4},
    {"default cut to the output", true, nullptr, 0, "abcdefg", 5},
    {"overlong text", true, nullptr, 260, "d", 300},
    {"data without terminator", true, "xyz", 3, "d", 32},
};

// Prepares the case, runs `read`, and returns what came back and what the registry holds after.
template <typename Read>
std::string Outcome(const GroupCase& c, Read read) {
  qtest::DeleteRegTree(kKeyPath);
  if (c.keyExists) {
    EXPECT_TRUE(qtest::WriteRegText(kKeyPath, "Other", "x"));
    if (c.data != nullptr) {
      EXPECT_TRUE(qtest::WriteRegRaw(kKeyPath, "Name", REG_BINARY, c.data, static_cast<DWORD>(c.size)));
    } else if (c.size > 0) {
      EXPECT_TRUE(qtest::WriteRegText(kKeyPath, "Name", std::string(c.size, 'b')));
    }
  }
  const std::string result = read();
  std::string stored;
  DWORD type = 0;
  const bool found = qtest::ReadRegValue(kKeyPath, "Name", &stored, &type);
  return result + " | key " + (qtest::RegKeyExists(kKeyPath) ? "yes" : "no") + " | value " +
         (found ? std::to_string(type) + ":" + stored : "none");
}

}  // namespace

// A group of reads through one open key gives what the single reads give, and
// leaves the registry as they do, whatever state the value is in.
TEST_F(RegistryTest, GroupReadsMatchSingleReads) {
  for (const GroupCase& c : kGroupCases) {
    auto single = [&c] {
      char out[300];
      memset(out, 'z', sizeof out);
      const int length = ReadRegString(kSubKey, "Name", c.defaultText, out, c.outputSize, ProductRegKey);
      return std::to_string(length) + ":" + out + " int " +
             std::to_string(ReadRegInt(kSubKey, "Name", 3, ProductRegKey));
    };
    auto grouped = [&c] {
      CRegKeyGroup group(kSubKey);
      char out[300];
      memset(out, 'z', sizeof out);
      const int length = group.ReadString("Name", c.defaultText, out, c.outputSize);
      return std::to_string(length) + ":" + out + " int " + std::to_string(group.ReadInt("Name", 3));
    };
    EXPECT_EQ(Outcome(c, single), Outcome(c, grouped)) << c.what;
  }
}

// Writes and reads in one group keep their order, create the key at the first
// write, and survive the key being deleted while the group holds it open.
TEST_F(RegistryTest, GroupWritesInOrderAndRecreatesADeletedKey) {
  {
    CRegKeyGroup group(kSubKey);
    EXPECT_EQ(9, group.ReadInt("Count", 9));
    EXPECT_EQ(1, group.WriteInt("Count", 12));
    EXPECT_EQ(12, group.ReadInt("Count", 9));
    ASSERT_TRUE(qtest::DeleteRegTree(kKeyPath));
    EXPECT_EQ(1, group.WriteString("Name", "after"));
    EXPECT_EQ(0, RegWriteBusy);
  }
  EXPECT_EQ("after", qtest::ReadRegText(kKeyPath, "Name"));
  EXPECT_EQ(std::string(), qtest::ReadRegText(kKeyPath, "Count"));
}

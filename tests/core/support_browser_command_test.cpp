// Reading the browser's path out of a registered http open command.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "converter/support/browser_command.h"

namespace {

std::set<std::string> existingFiles;
std::vector<std::string> askedPaths;

bool FakeFileExists(const char* path) {
  askedPaths.push_back(path);
  return existingFiles.count(path) != 0;
}

class BrowserCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    existingFiles.clear();
    askedPaths.clear();
  }
  // Parses into a buffer pre-filled with junk; the result text and return value.
  int Parse(const char* command, std::string* path, size_t size = 260) {
    std::vector<char> output(size, 'x');
    int result = ParseBrowserPath(command, output.data(), size, FakeFileExists);
    *path = std::string(output.data(), strnlen(output.data(), size));
    return result;
  }
};

TEST_F(BrowserCommandTest, QuotedPathLosesClosingQuoteAndArguments) {
  existingFiles.insert("C:\\Program Files\\Web Browser\\browse.exe");
  std::string path;
  EXPECT_EQ(1, Parse("\"C:\\Program Files\\Web Browser\\browse.exe\" -nohome \"%1\"", &path));
  EXPECT_EQ("\"C:\\Program Files\\Web Browser\\browse.exe\"", path);
  ASSERT_EQ(1u, askedPaths.size());
  EXPECT_EQ("C:\\Program Files\\Web Browser\\browse.exe", askedPaths[0]);
}

TEST_F(BrowserCommandTest, UnquotedUpperCaseExeDropsTheSwitch) {
  existingFiles.insert("C:\\WEB\\BROWSE.EXE");
  std::string path;
  EXPECT_EQ(1, Parse("C:\\WEB\\BROWSE.EXE -url", &path));
  EXPECT_EQ("\"C:\\WEB\\BROWSE.EXE\"", path);
}

TEST_F(BrowserCommandTest, AnExeInsideAFolderNameEndsThePathThere) {
  // The first ".exe" wins, quoted or not: a folder called "x.exe.d" cuts the path short.
  existingFiles.insert("C:\\x.exe.d\\b.exe");
  std::string path;
  EXPECT_EQ(0, Parse("C:\\x.exe.d\\b.exe", &path));
  ASSERT_EQ(1u, askedPaths.size());
  EXPECT_EQ("C:\\x.exe", askedPaths[0]);
}

TEST_F(BrowserCommandTest, MissingFileGivesZeroAndAnEmptyOutput) {
  std::string path;
  std::vector<char> output(64, 'x');
  EXPECT_EQ(0, ParseBrowserPath("\"C:\\gone\\browse.exe\" %1", output.data(), output.size(), FakeFileExists));
  for (char c : output) ASSERT_EQ('\0', c);
  ASSERT_EQ(1u, askedPaths.size());
  EXPECT_EQ("C:\\gone\\browse.exe", askedPaths[0]);
}

TEST_F(BrowserCommandTest, NothingToTestGivesZeroWithoutLooking) {
  std::string path;
  EXPECT_EQ(0, Parse("", &path));
  EXPECT_EQ(0, Parse("\"", &path));
  EXPECT_EQ(0, Parse("\".exe\"", &path));  // a bare extension still names a file: it is looked for
  EXPECT_EQ(1u, askedPaths.size());
  EXPECT_EQ("", path);
}

TEST_F(BrowserCommandTest, CommandWithoutExeIsTakenWhole) {
  std::string path;
  EXPECT_EQ(0, Parse("/usr/bin/browser --new-window %1", &path));
  ASSERT_EQ(1u, askedPaths.size());
  EXPECT_EQ("/usr/bin/browser --new-window %1", askedPaths[0]);

  existingFiles.insert("C:\\tools\\browse.com");
  EXPECT_EQ(1, Parse("C:\\tools\\browse.com", &path));
  EXPECT_EQ("\"C:\\tools\\browse.com\"", path);
}

TEST_F(BrowserCommandTest, PathThatDoesNotFitIsRefusedNotCut) {
  existingFiles.insert("C:\\a\\browse.exe");
  // The quoted path takes 17 characters and its terminator.
  const struct {
    size_t size;
    int result;
    const char* text;
  } cases[] = {{8, 0, ""}, {12, 0, ""}, {17, 0, ""}, {18, 1, "\"C:\\a\\browse.exe\""}};
  for (const auto& c : cases) {
    std::vector<char> output(c.size, 'x');
    output.push_back('#');  // guard byte past the size given
    EXPECT_EQ(c.result, ParseBrowserPath("C:\\a\\browse.exe -url", output.data(), c.size, FakeFileExists)) << c.size;
    EXPECT_EQ(std::string(c.text), std::string(output.data(), strnlen(output.data(), c.size))) << c.size;
    if (c.result == 0) {
      EXPECT_EQ(c.size, static_cast<size_t>(std::count(output.begin(), output.end() - 1, '\0'))) << c.size;
    }
    EXPECT_EQ('#', output[c.size]);
  }
}

TEST_F(BrowserCommandTest, CommandLongerThanARegistryValueIsRefusedWithoutLooking) {
  std::string command = "C:\\" + std::string(600, 'd') + "\\browse.exe";
  existingFiles.insert(command);
  std::string path;
  EXPECT_EQ(0, Parse(command.c_str(), &path, 1000));
  EXPECT_TRUE(askedPaths.empty());
}

}  // namespace

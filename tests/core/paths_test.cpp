// Path decisions made before anything is written or deleted: joining without
// cutting, roots in their plain and "\\?\" forms, being inside a folder, and
// which folders may serve as a program folder.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/paths.h"

namespace {

TEST(PathsTest, JoinRefusesWhatDoesNotFit) {
  const struct {
    size_t size;
    bool fits;
  } cases[] = {{1, false}, {8, false}, {9, true}, {64, true}};  // "C:\a\b.x" is 8 characters
  for (const auto& c : cases) {
    char out[64];
    memset(out, 'x', sizeof out);
    EXPECT_EQ(c.fits, JoinPathChecked(out, c.size, "C:\\a", "b.x")) << c.size;
    EXPECT_EQ(c.fits ? "C:\\a\\b.x" : "", std::string(out)) << c.size;
  }
}

TEST(PathsTest, AbsoluteMeansDriveAndBackslashOrShare) {
  const struct {
    const char* path;
    bool absolute;
  } cases[] = {{"C:\\", true}, {"x:\\a", true}, {"\\\\srv\\sh", true}, {"C:", false},
               {"C:a", false}, {"\\a", false},  {"1:\\a", false},         {"", false}};
  for (const auto& c : cases) EXPECT_EQ(c.absolute, IsAbsolutePath(c.path)) << c.path;
  EXPECT_FALSE(IsAbsolutePath(nullptr));
}

TEST(PathsTest, RootsAndUnresolvedPaths) {
  const struct {
    const char* path;
    bool root;
  } cases[] = {
      {"", true},                       {"C:", true},
      {"C:\\", true},                   {"c:\\\\", true},
      {"C:qtra", true},                 {"qtra", true},
      {"\\qtra", true},                 {"C:\\.", true},
      {"C:\\a\\..", true},              {"C:\\a\\.\\b", true},
      {"\\\\server", true},             {"\\\\server\\share", true},
      {"\\\\server\\share\\", true},    {"\\\\?\\C:", true},
      {"\\\\?\\C:\\", true},            {"\\\\?\\UNC\\server\\share", true},
      {"\\\\.\\C:\\", true},            {"C:\\qtra", false},
      {"C:\\a\\b\\", false},            {"C:\\.qtra", false},
      {"\\\\server\\share\\qtra", false}, {"\\\\?\\C:\\qtra", false},
      {"\\\\?\\UNC\\server\\share\\qtra", false}, {"C:\\a..b", false},
  };
  for (const auto& c : cases) EXPECT_EQ(c.root, IsRootPath(c.path)) << c.path;
  EXPECT_TRUE(IsRootPath(nullptr));
}

TEST(PathsTest, InsideComparesWholeNamesWithoutCase) {
  const struct {
    const char* path;
    const char* folder;
    bool inside;
  } cases[] = {
      {"C:\\qtra", "C:\\qtra", true},
      {"c:\\QTRA\\sub\\", "C:\\qtra\\", true},
      {"\\\\?\\C:\\qtra\\sub", "C:\\qtra", true},
      {"\\\\?\\UNC\\srv\\sh\\qtra\\x", "\\\\srv\\sh\\qtra", true},
      {"C:\\qtra", "\\\\?\\C:\\qtra\\sub", false},
      {"C:\\qtrax", "C:\\qtra", false},
      {"C:\\outside", "C:\\qtra", false},
      {"\\\\?\\Z:\\tmp\\outside", "\\\\?\\X:\\qtra", false},
      {"\\\\C\\qtra", "C:\\qtra", false},
      {"C:\\qtra", "", false},
  };
  for (const auto& c : cases) EXPECT_EQ(c.inside, IsSameOrInside(c.path, c.folder)) << c.path << " in " << c.folder;
}

TEST(PathsTest, ProgramFolderMayNotBeOrHoldAGuardedFolder) {
  const char* const guarded[] = {"C:\\windows", "C:\\windows\\system32", "C:\\users\\ann", ""};
  const struct {
    const char* path;
    FolderVerdict verdict;
  } cases[] = {
      {"C:\\", kFolderIsRoot},
      {"X:\\a\\..", kFolderIsRoot},
      {"C:\\Windows", kFolderIsProtected},
      {"C:\\WINDOWS\\System32", kFolderIsProtected},
      {"C:\\users", kFolderIsProtected},
      {"C:\\Users\\Ann", kFolderIsProtected},
      {"C:\\users\\ann\\AppData\\Local\\Marlowbrook\\qtra", kFolderUsable},
      {"C:\\windows\\qtra", kFolderUsable},
      {"C:\\users\\annex", kFolderUsable},
      {"C:\\qtra", kFolderUsable},
  };
  for (const auto& c : cases) EXPECT_EQ(c.verdict, JudgeProgramFolder(c.path, guarded, 4)) << c.path;
}

TEST(PathsTest, NothingInsideAnEnclosingFolderAndNoTextThatIsNotALocalFullPath) {
  const char* const held[] = {"C:\\Program Files"};
  const char* const enclosing[] = {"C:\\windows"};
  const struct {
    const char* path;
    FolderVerdict verdict;
  } cases[] = {
      {"C:\\windows\\Fonts", kFolderIsProtected},
      {"C:\\windows\\system32\\drivers", kFolderIsProtected},
      {"C:\\windowsx", kFolderUsable},
      {"C:\\Program Files\\Marlowbrook\\qtra", kFolderUsable},
  };
  for (const auto& c : cases) EXPECT_EQ(c.verdict, JudgeProgramFolder(c.path, held, 1, enclosing, 1)) << c.path;
  const struct {
    const char* text;
    FolderVerdict verdict;
  } texts[] = {
      {"qtrarel", kFolderIsRelative},     {"C:qtra", kFolderIsRelative},   {"\\\\qtra", kFolderIsNetwork},
      {"\\\\server\\share\\q", kFolderIsNetwork}, {"\\\\?\\UNC\\s\\h\\q", kFolderIsNetwork},
      {"\\\\?\\C:\\qtra", kFolderUsable}, {"C:\\qtra", kFolderUsable},     {"", kFolderIsRelative},
  };
  for (const auto& c : texts) EXPECT_EQ(c.verdict, JudgeFolderText(c.text)) << c.text;
}

TEST(PathsTest, ADriveThatStandsForAFolderIsReadThroughIt) {
  const struct {
    const wchar_t* path;
    const wchar_t* target;
    const wchar_t* through;  // empty: the drive stands for no folder
  } cases[] = {
      {L"T:\\Unit Converter", L"\\??\\C:\\Tools", L"C:\\Tools\\Unit Converter"},
      {L"T:\\", L"\\??\\C:\\Tools\\", L"C:\\Tools"},
      {L"T:\\", L"\\??\\C:\\", L"C:\\"},
      {L"T:\\a", L"\\??\\C:", L"C:\\a"},
      {L"T:\\a", L"\\??\\UNC\\server\\share", L"\\\\server\\share\\a"},
      {L"C:\\a", L"\\Device\\HarddiskVolume1", L""},
      {L"T:a", L"\\??\\C:\\Tools", L""},
      {L"T:\\a", L"\\??\\Volume{0}\\", L""},
  };
  for (const auto& c : cases) {
    wchar_t out[40] = L"x";
    EXPECT_EQ(c.through[0] != L'\0', PathThroughDriveFolder(c.path, c.target, out, 40)) << c.target;
    EXPECT_EQ(std::wstring(c.through), out);
  }
  wchar_t small[12];
  EXPECT_FALSE(PathThroughDriveFolder(L"T:\\Unit", L"\\??\\C:\\Tools", small, 12)) << "it does not fit";
  EXPECT_EQ(L'\0', small[0]);
}

}  // namespace

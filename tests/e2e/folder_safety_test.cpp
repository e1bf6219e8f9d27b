// Nothing of the user's is deleted or overwritten: the installer and the
// uninstaller on a scratch drive X: (mapped by the scratch_drive fixture) that
// holds files of "the user", a program folder holding a link to a folder
// outside the drive, and the converter in a program folder too long for the
// names of its support files.
#include <windows.h>

#include <objbase.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/harness/test_support.h"

namespace {

const std::string kConfigure = qtest::ProductSubKey("Configure");
const char kInstallTitle[] = "Quantara Installation";
const DWORD kLongWait = 60000;

// Where the fixture put the folder the link points to.
std::string OutsideFolder() { return qtest::BinPath("..\\tests\\scratch_drive\\outside"); }

bool UnderWine() {
  return ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

// The user's files on the drive and outside it, as the fixture made them.
void ExpectTheUsersFiles() {
  EXPECT_EQ("note", qtest::ReadFileBytes("X:\\note.txt"));
  EXPECT_EQ("dear", qtest::ReadFileBytes("X:\\keep\\letter.txt"));
  EXPECT_EQ("outside", qtest::ReadFileBytes(OutsideFolder() + "\\file.txt"));
}

class FolderSafety : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ::CoInitialize(nullptr); }
  void SetUp() override {
    ASSERT_EQ("note", qtest::ReadFileBytes("X:\\note.txt")) << "the scratch drive X: is not mapped";
    qtest::DeleteRegTree(qtest::kProductKey);
  }
  void TearDown() override { qtest::DeleteRegTree(qtest::kProductKey); }
};

TEST_F(FolderSafety, LocationPageRefusesTheDriveItselfInAnyForm) {
  qtest::Program installer;
  ASSERT_TRUE(installer.Start(qtest::BinPath(kInstallerFileName)));
  // The backdrop and the location page share their title; the page is the one with Next.
  HWND page = nullptr;
  ASSERT_TRUE(qtest::WaitUntil([&] {
    page = ::FindWindowA(nullptr, kInstallTitle);
    for (; page != nullptr; page = ::FindWindowExA(nullptr, page, nullptr, kInstallTitle)) {
      if (::GetDlgItem(page, 1013) != nullptr && ::IsWindowVisible(page)) return true;
    }
    return false;
  }, kLongWait));
  // The folder box is read-only: what the user can do is choose another mode.
  const std::string kChoose = "Please choose another of the modes above.";
  const struct {
    const char* folder;
    std::string says;
  } refusals[] = {
      {"X:\\.", "is the root of a drive. Quantara needs a folder of its own.\n\n" + kChoose},
      {"X:\\a\\..", "is the root of a drive. Quantara needs a folder of its own.\n\n" + kChoose},
      {"X:\\", "is the root of a drive. Quantara needs a folder of its own.\n\n" + kChoose},
      {"X:\\keep", "already holds files that are not part of Quantara:\nletter.txt\n\nInstalling there could "
                   "overwrite them.\n\n" + kChoose},
      {"qtrarel", "is not a full path, beginning with its drive.\n\n" + kChoose},
      {"\\\\server\\share\\q", "is a network folder. Quantara is installed on a drive of this computer.\n\n" + kChoose},
  };
  for (const auto& c : refusals) {
    qtest::SetText(::GetDlgItem(page, 1008), c.folder);
    qtest::Click(::GetDlgItem(page, 1013));
    std::string text = qtest::AnswerBox(kInstallTitle, "The Folder you Specified:");
    EXPECT_EQ("The Folder you Specified:\n" + std::string(c.folder) + "\n" + c.says, text);
  }
  EXPECT_EQ("", qtest::ReadRegText(kConfigure, kProgramDirValue)) << "nothing recorded for a refused folder";
  qtest::Click(::GetDlgItem(page, 1012));
  EXPECT_NE("", qtest::AnswerBox(kInstallTitle, "Conditions Prevented Proper Installation."));
  EXPECT_TRUE(installer.WaitForExit(kLongWait));
  EXPECT_FALSE(qtest::FileExists("X:\\QTRA.EXE")) << "nothing installed on the drive";
  ExpectTheUsersFiles();
}

TEST_F(FolderSafety, UninstallOfTheDriveOrOfACutFolderDeletesNothing) {
  // A converter at the drive's root makes the drive look like an installation;
  // so does one in a folder whose name is a recorded folder's, cut short by one.
  ASSERT_TRUE(qtest::WriteFileBytes("X:\\QTRA.EXE", "MZ"));
  const std::string shorter = "X:\\" + std::string(232, 'c');
  ASSERT_TRUE(::CreateDirectoryA(shorter.c_str(), nullptr));
  ASSERT_TRUE(qtest::WriteFileBytes(shorter + "\\QTRA.EXE", "MZ"));
  const struct {
    std::string recorded;
    std::string shown;  // as read, without a trailing backslash
  } cases[] = {
      {"X:\\.", "X:\\."}, {"X:\\a\\..", "X:\\a\\.."}, {"X:\\", "X:"}, {shorter + "d", shorter + "d"}};
  for (const auto& c : cases) {
    qtest::WriteRegText(kConfigure, kProgramDirValue, c.recorded);
    qtest::Program uninstaller;
    ASSERT_TRUE(uninstaller.Start(qtest::BinPath(kInstallerFileName), kUninstallRelayArgument));
    EXPECT_NE("", qtest::AnswerBox("Quantara", "Do you really want to UnInstall Quantara?", IDYES)) << c.recorded;
    EXPECT_NE("", qtest::AnswerBox("Quantara", "that you are UnInstalling from:\n" + c.shown + "\ncan not be found."))
        << c.recorded;
    EXPECT_TRUE(uninstaller.WaitForExit(kLongWait));
    EXPECT_EQ("MZ", qtest::ReadFileBytes("X:\\QTRA.EXE")) << c.recorded;
    EXPECT_EQ("MZ", qtest::ReadFileBytes(shorter + "\\QTRA.EXE")) << c.recorded;
    ExpectTheUsersFiles();
  }
  ::DeleteFileA("X:\\QTRA.EXE");
  qtest::DeleteFolderTree(shorter);
}

TEST_F(FolderSafety, UninstallRemovesTheLinkButNotWhatItPointsTo) {
  const std::string folder = "X:\\linked";
  const std::vector<std::string> links = {"README.TXT", "outside_link"};
  ASSERT_EQ(links, qtest::FolderEntries(folder));
  ASSERT_TRUE(qtest::FileExists(folder + "\\outside_link\\file.txt")) << "the folder link leads outside";
  ASSERT_EQ("outside", qtest::ReadFileBytes(folder + "\\README.TXT")) << "the file link leads outside";
  ASSERT_TRUE(qtest::WriteFileBytes(folder + "\\QTRA.EXE", "MZ"));
  ASSERT_TRUE(qtest::WriteFileBytes(folder + "\\qtrahelp.htm", "<html>"));
  ::CreateDirectoryA((folder + "\\sub").c_str(), nullptr);
  ASSERT_TRUE(qtest::WriteFileBytes(folder + "\\sub\\notes.txt", "n"));
  qtest::WriteRegText(kConfigure, kProgramDirValue, folder);
  qtest::WriteRegText(qtest::kUninstallEntry, "InstallLocation", folder);

  qtest::Program uninstaller;
  ASSERT_TRUE(uninstaller.Start(qtest::BinPath(kInstallerFileName), kUninstallRelayArgument));
  EXPECT_NE("", qtest::AnswerBox("Quantara", "Do you really want to UnInstall Quantara?", IDYES));
  HWND page = qtest::WaitForWindow("Quantara UnInstall", uninstaller.Id(), kLongWait);
  ASSERT_NE(nullptr, page);
  qtest::Click(::GetDlgItem(page, 1016));
  // Where the links cannot go, the uninstall says what is left; what is not ours stays.
  EXPECT_NE("", qtest::AnswerBox("Quantara", UnderWine() ? "could not be fully UnInstalled" : "was kept because"));
  EXPECT_TRUE(uninstaller.WaitForExit(kLongWait));

  ExpectTheUsersFiles();
  EXPECT_EQ(std::vector<std::string>{"file.txt"}, qtest::FolderEntries(OutsideFolder()));
  if (UnderWine()) {
    // Wine removes no folder link through Windows' calls, and deleting a file
    // link would delete its target: both links stay, and with them the folder
    // and the record, so the uninstall can run again.
    EXPECT_EQ((std::vector<std::string>{"README.TXT", "outside_link", "sub"}), qtest::FolderEntries(folder));
    EXPECT_EQ(folder, qtest::ReadRegText(kConfigure, kProgramDirValue));
  } else {
    EXPECT_EQ((std::vector<std::string>{"outside_link", "sub"}), qtest::FolderEntries(folder));
  }
  EXPECT_EQ("n", qtest::ReadFileBytes(folder + "\\sub\\notes.txt")) << "not ours";
  qtest::DeleteRegTree(qtest::kUninstallEntry);
}

// Starts the converter on `folder` as its program folder and closes it once its
// main window is up (the support files are written by then).
void RunConverterOn(const std::string& folder) {
  qtest::WriteRegText(kConfigure, kProgramDirValue, folder);
  qtest::Program qtra;
  ASSERT_TRUE(qtra.Start(qtest::BinPath("qtra.exe"), "", folder));
  HWND main = qtest::WaitForWindow(kMainTitlePrefix, qtra.Id(), kLongWait, true);
  ASSERT_NE(nullptr, main);
  ::PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(qtra.WaitForExit(kLongWait));
}

TEST_F(FolderSafety, ConverterNeverWritesThroughALinkedSupportFile) {
  const std::string folder = "X:\\written";
  ASSERT_EQ("outside", qtest::ReadFileBytes(folder + "\\qtrahelp.htm")) << "the help page is a link to outside";
  RunConverterOn(folder);
  ExpectTheUsersFiles();
  EXPECT_EQ(std::vector<std::string>{"file.txt"}, qtest::FolderEntries(OutsideFolder()));
  if (UnderWine()) {
    // Wine reports the file link as a plain file and would delete its target
    // with it: the link stays, and the page is not written.
    EXPECT_EQ("outside", qtest::ReadFileBytes(folder + "\\qtrahelp.htm"));
    EXPECT_FALSE(qtest::FileExists(folder + "\\bg_sky.jpg")) << "the writing stops at the first file";
  } else {
    EXPECT_NE(std::string::npos, qtest::ReadFileBytes(folder + "\\qtrahelp.htm").find("<html"));
    EXPECT_TRUE(qtest::FileExists(folder + "\\bg_sky.jpg"));
  }
}

TEST_F(FolderSafety, ConverterInATooLongFolderWritesNoCutNamesAndHelpSaysSo) {
  // 250 characters: "\qtrahelp.htm" and "\bg_sky.jpg" no longer fit a path.
  const std::string parent = "X:\\" + std::string(120, 'p');
  const std::string folder = parent + "\\" + std::string(250 - parent.size() - 1, 'q');
  ASSERT_EQ(250u, folder.size());
  ASSERT_TRUE(::CreateDirectoryA(parent.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS);
  ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS);
  qtest::WriteRegText(kConfigure, kProgramDirValue, folder);
  const std::string workingDir = qtest::MakeTempFolder("qtra_long_folder");
  {
    qtest::Program qtra;
    ASSERT_TRUE(qtra.Start(qtest::BinPath("qtra.exe"), "", workingDir));
    HWND main = qtest::WaitForWindow(kMainTitlePrefix, qtra.Id(), kLongWait, true);
    ASSERT_NE(nullptr, main);
    qtest::PostCommand(main, 32775);  // Help
    std::string text = qtest::AnswerBox("Quantara", "Unable to open:");
    EXPECT_EQ(0u, text.find("Unable to open:\n" + folder + "\\qtrahelp.htm\nin your Web Browser.\n\nError [")) << text;
    ::PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(qtra.WaitForExit(kLongWait));
  }
  EXPECT_EQ(std::vector<std::string>{}, qtest::FolderEntries(folder)) << "no support file under a cut name";
  EXPECT_EQ(std::vector<std::string>{}, qtest::FolderEntries(workingDir));
  EXPECT_EQ(std::vector<std::string>{std::string(250 - parent.size() - 1, 'q')}, qtest::FolderEntries(parent));
  qtest::DeleteFolderTree(parent);
  qtest::DeleteFolderTree(workingDir);
}

}  // namespace

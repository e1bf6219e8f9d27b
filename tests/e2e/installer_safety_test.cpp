// The installer costs the user nothing: it never writes over or deletes what
// is not its own, an uninstall acts on its own installation only, and a
// failed, full-drive or killed installation leaves the earlier one working.
// Silent runs, as package managers do them; the small drive S: comes from the
// scratch_drive fixture (as root only).
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "common/install_rules.h"
#include "common/product.h"
#include "tests/harness/install_runs.h"
#include "tests/harness/test_support.h"

namespace {

using qtest::ExpectInstalled;
using qtest::InstallSilently;
using qtest::QuietUninstall;

const std::string kEntry = qtest::kUninstallEntry;

// A folder of "the user" holding `files` (a name ending in "\" is a folder), each holding its own name.
std::string UsersFolder(const char* name, const std::vector<std::string>& files) {
  const std::string folder = qtest::MakeTempFolder(name);
  for (const std::string& file : files) {
    if (file.back() == '\\') {
      ::CreateDirectoryA((folder + "\\" + file).c_str(), nullptr);
    } else {
      qtest::WriteFileBytes(folder + "\\" + file, file);
    }
  }
  return folder;
}

void ExpectUntouched(const std::string& folder, const std::vector<std::string>& files) {
  for (const std::string& file : files) {
    if (file.back() == '\\') continue;
    EXPECT_EQ(file, qtest::ReadFileBytes(folder + "\\" + file)) << folder << "\\" << file;
  }
}

bool LogHas(const std::string& part) { return qtest::InstallerLog().find(part) != std::string::npos; }

class InstallerSafety : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ::CoInitialize(nullptr); }
  void SetUp() override { qtest::ForgetInstallations(); }
  void TearDown() override {
    if (qtest::RegKeyExists(kEntry)) QuietUninstall();
  }
  std::string Installed(const char* name) {
    const std::string folder = qtest::MakeTempFolder(name) + "\\Quantara";
    EXPECT_EQ(0u, InstallSilently("/S /D=" + folder));
    ExpectInstalled(folder);
    return folder;
  }
};

TEST_F(InstallerSafety, AFolderWithTheUsersFilesIsRefusedAndAnUninstallKeepsWhatIsNotOurs) {
  const std::vector<std::string> files = {"README.TXT", "notes.txt", "mytool.exe", "sub\\", "sub\\data.csv"};
  const std::string tools = UsersFolder("Tools", files);
  EXPECT_EQ(static_cast<DWORD>(kExitFolderNotCreatable), InstallSilently("/S /D=" + tools));
  EXPECT_TRUE(LogHas("(exit code 3): the folder holds files that are not part of Quantara"));
  ExpectUntouched(tools, files);
  EXPECT_FALSE(qtest::RegKeyExists(kEntry));

  // A file the user put into the program folder later stays, and so does the folder.
  const std::string folder = Installed("own_files");
  qtest::WriteFileBytes(folder + "\\notes.txt", "notes.txt");
  EXPECT_EQ(static_cast<DWORD>(kExitFolderNotRemoved), QuietUninstall());
  qtest::ExpectUninstalled(folder);
  EXPECT_EQ(std::vector<std::string>{"notes.txt"}, qtest::FolderEntries(folder));
  EXPECT_TRUE(LogHas(folder + " was kept because it holds other files"));
}

TEST_F(InstallerSafety, NoFolderOfWindowsOrOfTheUserIsTaken) {
  const std::string windows = qtest::SpecialFolder(CSIDL_WINDOWS);
  const std::string pictures = qtest::SpecialFolder(CSIDL_MYPICTURES);
  ::CreateDirectoryA(pictures.c_str(), nullptr);
  ASSERT_TRUE(qtest::WriteFileBytes(pictures + "\\holiday.jpg", "holiday.jpg"));
  for (const std::string& folder :
       {qtest::SpecialFolder(CSIDL_PROGRAM_FILES), qtest::SpecialFolder(CSIDL_PROGRAM_FILESX86), windows + "\\Fonts",
        qtest::SpecialFolder(CSIDL_SYSTEM) + "\\drivers", qtest::SpecialFolder(CSIDL_PROFILE) + "\\Downloads",
        qtest::SpecialFolder(CSIDL_FAVORITES), pictures}) {
    EXPECT_EQ(static_cast<DWORD>(kExitFolderNotCreatable), InstallSilently("/S /D=" + folder)) << folder;
    EXPECT_TRUE(LogHas("(exit code 3): the folder is a folder of Windows")) << folder;
  }
  ExpectUntouched(pictures, {"holiday.jpg"});
  EXPECT_FALSE(qtest::RegKeyExists(kEntry));
  ::DeleteFileA((pictures + "\\holiday.jpg").c_str());
}

TEST_F(InstallerSafety, TheRecordedFolderAloneNamesNoInstallation) {
  const std::string folder = Installed("recorded");
  // A restored settings backup names a folder of the user's that holds a downloaded installer.
  const std::vector<std::string> files = {"thesis.docx", "sub\\", "sub\\data.xlsx"};
  const std::string docs = UsersFolder("UserDocs", files);
  ASSERT_TRUE(qtest::WriteFileBytes(docs + "\\qtrasx.exe", qtest::ReadFileBytes(qtest::BinPath(kInstallerFileName))));
  qtest::WriteRegText(qtest::kConfigureKeyPath, kProgramDirValue, docs);
  EXPECT_EQ(static_cast<DWORD>(kExitNotInstalled), QuietUninstall());
  ExpectUntouched(docs, files);
  qtest::WriteRegText(qtest::kConfigureKeyPath, kProgramDirValue, folder);
  ExpectInstalled(folder);
}

TEST_F(InstallerSafety, AFullDriveLeavesTheEarlierInstallationWorking) {
  if (!qtest::FileExists("S:\\")) GTEST_SKIP() << "no small drive S: (it needs root to mount)";
  const std::string folder = Installed("before_full");
  const std::string entry = qtest::ReadRegText(kEntry, "UninstallString");
  // Room for less than the program: a new folder fails on its files.
  ULARGE_INTEGER free = {};
  ASSERT_TRUE(::GetDiskFreeSpaceExA("S:\\", &free, nullptr, nullptr));
  ASSERT_TRUE(qtest::WriteFileBytes("S:\\filler", std::string(static_cast<size_t>(free.QuadPart) - 400 * 1024, 'f')));
  EXPECT_EQ(static_cast<DWORD>(kExitFileNotWritable), InstallSilently("/S /D=S:\\fresh"));
  EXPECT_FALSE(qtest::FileExists("S:\\fresh")) << "nothing of the failed installation stays";
  ExpectInstalled(folder);
  EXPECT_EQ(entry, qtest::ReadRegText(kEntry, "UninstallString"));
  EXPECT_EQ(0u, QuietUninstall());
  ::DeleteFileA("S:\\filler");

  // An upgrade whose files fit but whose shortcuts do not: the old links and files stay.
  const std::string program = "S:\\program";
  ASSERT_EQ(0u, InstallSilently("/S /D=" + program));
  ASSERT_TRUE(::GetDiskFreeSpaceExA("S:\\", &free, nullptr, nullptr));
  unsigned long long staged = 0;  // the program's files once more, in whole pages
  for (const char* name : qtest::kInstalledFiles) {
    staged += (qtest::ReadFileBytes(program + "\\" + name).size() + 4095) / 4096 * 4096;
  }
  ASSERT_TRUE(qtest::WriteFileBytes("S:\\filler", std::string(static_cast<size_t>(free.QuadPart - staged), 'f')));
  const std::string link = qtest::ReadFileBytes(qtest::DesktopLink());
  EXPECT_EQ(static_cast<DWORD>(kExitFileNotWritable), InstallSilently("/S"));
  EXPECT_TRUE(LogHas("the shortcuts or the group could not be created; nothing was changed"));
  ExpectInstalled(program);
  EXPECT_EQ(link, qtest::ReadFileBytes(qtest::DesktopLink()));
  EXPECT_EQ(std::size(qtest::kInstalledFiles), qtest::FolderEntries(program).size()) << "no temporary file is left";
  // On a drive of its own the waiting uninstaller cannot be moved away: its file goes once it has ended.
  EXPECT_EQ(0u, QuietUninstall());
  EXPECT_TRUE(qtest::WaitUntil([&] { return !qtest::FileExists(program); }));
  ::DeleteFileA("S:\\filler");
}

TEST_F(InstallerSafety, AKilledInstallationCanBeRunAgainAndUninstalled) {
  const std::string folder = qtest::MakeTempFolder("killed") + "\\Quantara";
  const auto exists = [&](const std::string& name) { return [&, name] { return qtest::FileExists(folder + "\\" + name); }; };
  // Points a watcher outside can see, on a first installation and on an upgrade.
  const struct {
    bool upgrade;
    std::function<bool()> reached;
  } points[] = {
      {false, [&] { return qtest::ReadRegText(qtest::kConfigureKeyPath, kProgramDirValue) == folder; }},
      {false, exists(std::string(kInstallerFileName) + kStagedSuffix)},
      {false, exists(kConverterFileName)},
      {false, [&] { return qtest::ReadRegText(kEntry, "InstallLocation") == folder; }},
      {true, exists(std::string(kConverterFileName) + kBackupSuffix)},
      {true, exists(kShortcutTempFileName)},
  };
  for (const auto& point : points) {
    if (point.upgrade) {
      ASSERT_EQ(0u, InstallSilently("/S /D=" + folder));
    }
    InstallSilently("/S /D=" + folder, point.reached);
    EXPECT_EQ(0u, InstallSilently("/S /D=" + folder));
    ExpectInstalled(folder);
    EXPECT_EQ(0u, QuietUninstall());
    EXPECT_FALSE(qtest::FileExists(folder));
  }
}

TEST_F(InstallerSafety, AnInstallationIntoAnotherFolderRemovesTheOldOne) {
  const std::string old = Installed("moved_from");
  const std::string folder = Installed("moved_to");
  EXPECT_FALSE(qtest::FileExists(old));
  EXPECT_EQ(0u, InstallSilently("/S UnInstall"));
  qtest::ExpectUninstalled(folder);
}

TEST_F(InstallerSafety, OnlyTheConverterIsAskedToCloseEvenDuringItsFirstRunNotice) {
  const std::string folder = Installed("closing");
  // Another program's window whose title begins like the converter's.
  HWND notepad = ::CreateWindowA("STATIC", "Quantara - Version history.txt - Notepad", WS_OVERLAPPED, 0, 0, 10, 10,
                                 nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
  qtest::WriteRegText(qtest::kHandlesKeyPath, kTransHandleValue, std::to_string(HandleToULong(notepad)));
  EXPECT_EQ(0u, InstallSilently("/S"));
  MSG message;
  EXPECT_FALSE(::PeekMessageA(&message, notepad, WM_COMMAND, WM_COMMAND, PM_REMOVE));
  EXPECT_FALSE(LogHas("Closing [Quantara]"));
  ::DestroyWindow(notepad);

  // Started by the installer, the converter shows its notice before it publishes its window.
  qtest::WriteRegText(qtest::kHandlesKeyPath, kTransHandleValue, "0");
  qtest::Program converter;
  ASSERT_TRUE(converter.Start(folder + "\\QTRA.EXE", kFirstRunArgument, folder));
  ASSERT_NE(nullptr, qtest::WaitForMessageBox(kProductName, "", converter.Id(), qtest::kInstallWait));
  EXPECT_EQ("0", qtest::ReadRegText(qtest::kHandlesKeyPath, kTransHandleValue));
  EXPECT_EQ(0u, InstallSilently("/S"));
  EXPECT_TRUE(converter.WaitForExit(qtest::kInstallWait)) << "closed through its command";
  ExpectInstalled(folder);
}

TEST_F(InstallerSafety, FolderSwitchTakesForwardSlashesAndQuotes) {
  const std::string base = qtest::MakeTempFolder("switches");
  std::string slashed = base + "\\fwd\\dir";
  for (char& c : slashed) c = c == '\\' ? '/' : c;
  EXPECT_EQ(0u, InstallSilently("/S /D=" + slashed));
  ExpectInstalled(base + "\\fwd\\dir");
  EXPECT_EQ(0u, InstallSilently("/S /D=\"" + base + "\\Quoted Dir\""));
  ExpectInstalled(base + "\\Quoted Dir");
  EXPECT_FALSE(qtest::FileExists(base + "\\fwd\\dir")) << "moved";
}

}  // namespace

// The installer costs the user nothing: it never writes over or deletes what
// is not its own, an uninstall acts on its own installation only, and a
// failed, full-drive or killed installation leaves the earlier one working.
// Silent runs, as package managers do them; the small drive S: comes from the
// scratch_drive fixture (as root only).
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
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

bool LogHas(const std::string& part);

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

// The previous release's installer (QTRA_PREVIOUS_INSTALLER), "" when not built.
std::string PreviousInstaller() {
  char unixPath[MAX_PATH] = {};
  if (::GetEnvironmentVariableA("QTRA_PREVIOUS_INSTALLER", unixPath, sizeof unixPath) == 0) return "";
  std::string previous = std::string("Z:") + unixPath;
  std::replace(previous.begin(), previous.end(), '/', '\\');
  return previous;
}

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
  // By their short names too (C:\PROGRA~1 is Program Files on Windows).
  const std::string programsShort = qtest::ShortPathOf(qtest::SpecialFolder(CSIDL_PROGRAM_FILES));
  const std::string games = qtest::SpecialFolder(CSIDL_PROFILE) + "\\Saved Games";
  ::CreateDirectoryA(games.c_str(), nullptr);
  const std::string gamesShort = qtest::ShortPathOf(games);
  ASSERT_EQ(std::string::npos, (programsShort + gamesShort).find(' ')) << programsShort << " " << gamesShort;
  for (const std::string& folder :
       {qtest::SpecialFolder(CSIDL_PROGRAM_FILES), qtest::SpecialFolder(CSIDL_PROGRAM_FILESX86), windows + "\\Fonts",
        qtest::SpecialFolder(CSIDL_SYSTEM) + "\\drivers", qtest::SpecialFolder(CSIDL_PROFILE) + "\\Downloads",
        qtest::SpecialFolder(CSIDL_FAVORITES), pictures, programsShort, gamesShort}) {
    EXPECT_EQ(static_cast<DWORD>(kExitFolderNotCreatable), InstallSilently("/S /D=" + folder)) << folder;
    EXPECT_TRUE(LogHas("(exit code 3): the folder is a folder of Windows")) << folder;
  }
  ExpectUntouched(pictures, {"holiday.jpg"});
  EXPECT_TRUE(qtest::FileExists(games));
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

// One folder by its long name, its short name and a drive letter that stands
// for its parent (T: is X:\tools, as `subst` makes one): each run upgrades it
// where it is, and every record names it by its long name.
TEST_F(InstallerSafety, AFolderIsTheSameByAnyOfItsNames) {
  const std::string folder = "X:\\tools\\Unit Converter";
  ASSERT_TRUE(qtest::FileExists("T:\\")) << "the scratch drive T: is not mapped";
  ASSERT_EQ(0u, InstallSilently("/S /D=" + folder));
  const std::string shortName = qtest::ShortPathOf(folder);
  ASSERT_NE("", shortName);
  ASSERT_EQ(std::string::npos, shortName.find(' ')) << shortName;
  for (const std::string& name : {shortName, std::string("T:\\Unit Converter")}) {
    EXPECT_EQ(0u, InstallSilently("/S /D=" + name)) << name;
    ExpectInstalled(folder);
    EXPECT_NE(std::string::npos, qtest::ReadFileBytes(qtest::DesktopLink()).find(folder + "\\")) << name;
    EXPECT_FALSE(LogHas("Removing the earlier installation")) << name;
  }
  EXPECT_EQ(0u, QuietUninstall());
  EXPECT_FALSE(qtest::FileExists(folder));
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

// Explorer's own files, and an administrator's log, in the program folder.
TEST_F(InstallerSafety, WindowsOwnFilesInTheFolderLockNoOneOut) {
  const std::string folder = Installed("explorer_files");
  const std::vector<std::string> explorer = {"desktop.ini", "Thumbs.db"};
  for (const std::string& name : explorer) {
    qtest::WriteFileBytes(folder + "\\" + name, name);
    ::SetFileAttributesA((folder + "\\" + name).c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  }
  EXPECT_EQ(0u, InstallSilently("/S")) << "an upgrade past Explorer's files";
  ExpectInstalled(folder);
  EXPECT_EQ(0u, QuietUninstall()) << "they go with the last of ours";
  EXPECT_FALSE(qtest::FileExists(folder));

  // A folder holding only them is as good as empty.
  ::CreateDirectoryA(folder.c_str(), nullptr);
  for (const std::string& name : explorer) qtest::WriteFileBytes(folder + "\\" + name, name);
  EXPECT_EQ(0u, InstallSilently("/S /D=" + folder));
  // The installed folder is an upgrade whatever else it holds; only our files are written.
  qtest::WriteFileBytes(folder + "\\deploy.log", "deploy.log");
  EXPECT_EQ(0u, InstallSilently("/S"));
  ExpectInstalled(folder);
  ExpectUntouched(folder, {"deploy.log"});
  EXPECT_EQ(static_cast<DWORD>(kExitFolderNotRemoved), QuietUninstall());
  EXPECT_EQ((std::vector<std::string>{"Thumbs.db", "deploy.log", "desktop.ini"}), qtest::FolderEntries(folder));
  // Once the administrator's file is gone, the folder takes a new installation again.
  ::DeleteFileA((folder + "\\deploy.log").c_str());
  EXPECT_EQ(0u, InstallSilently("/S /D=" + folder));
  ExpectInstalled(folder);
}

// An installation into another folder, ended while its files are staged or its
// links made, then the entry's uninstall or the same move again: one
// installation, and nothing orphaned. A first installation ended the same way
// leaves nothing once the next goes elsewhere.
TEST_F(InstallerSafety, AnInterruptedMoveIsRolledBackByTheNextRun) {
  const std::string base = qtest::MakeTempFolder("interrupted");
  const std::string from = base + "\\from";
  const std::string to = base + "\\to\\Quantara";
  const auto exists = [](const std::string& path) { return [path] { return qtest::FileExists(path); }; };
  const struct {
    bool earlier;
    std::function<bool()> reached;
    bool thenUninstall;
  } cases[] = {
      {true, exists(to + "\\" + kConverterFileName + kStagedSuffix), true},
      {true, exists(to + "\\" + kConverterFileName + kStagedSuffix), false},
      {true, exists(to + "\\" + kShortcutTempFileName), true},
      {true, exists(to + "\\" + kShortcutTempFileName), false},
      {false, exists(to + "\\" + kInstallerFileName + kStagedSuffix), false},
  };
  for (const auto& c : cases) {
    if (c.earlier) {
      ASSERT_EQ(0u, InstallSilently("/S /D=" + from));
    }
    InstallSilently("/S /D=" + to, c.reached);
    ASSERT_TRUE(qtest::FileExists(to)) << "ended half-way";
    if (c.thenUninstall) {
      EXPECT_EQ(0u, QuietUninstall());
      qtest::ExpectUninstalled(from);
      EXPECT_FALSE(qtest::FileExists(from));
    } else {
      const std::string other = c.earlier ? to : from;
      EXPECT_EQ(0u, InstallSilently("/S /D=" + other));
      ExpectInstalled(other);
      EXPECT_FALSE(qtest::FileExists(c.earlier ? from : to)) << "nothing orphaned";
      EXPECT_EQ(0u, QuietUninstall());
    }
    EXPECT_EQ(std::vector<std::string>{}, qtest::FolderEntries(base)) << "no folder left";
  }
}

// The quiet uninstall's temporary copy ended while it deletes the files, or
// once it has moved itself away: at no moment is there an entry whose command
// is missing; the entry's command, or else the next run, finishes the uninstall.
TEST_F(InstallerSafety, AnUninstallEndedHalfWayIsFinishedByTheEntrysCommandOrTheNextRun) {
  const struct {
    const char* reached;
    bool entryStays;
  } cases[] = {{"Deleting the program's files", true}, {"Moved the running uninstaller", false}};
  for (const auto& c : cases) {
    const std::string folder = Installed("uninstall_ended");
    const std::string command = qtest::ReadRegText(kEntry, "QuietUninstallString");
    qtest::Program relay;
    ASSERT_TRUE(relay.Start(folder + "\\" + kInstallerFileName, "UnInstall /S"));
    // The copy is at hand before the point comes, to be ended the moment it does.
    HANDLE copy = nullptr;
    ASSERT_TRUE(qtest::WaitUntil([&] { return (copy = qtest::OpenProcessNamed(kInstallerFileName, relay.Id())) != nullptr; },
                                 qtest::kInstallWait, 1));
    const bool reached = qtest::WaitUntil([&] { return LogHas(c.reached); }, qtest::kInstallWait, 1);
    EXPECT_TRUE(reached && ::TerminateProcess(copy, 99)) << c.reached;
    ::WaitForSingleObject(copy, qtest::kInstallWait);
    ::CloseHandle(copy);
    EXPECT_TRUE(relay.WaitForExit(qtest::kInstallWait));
    if (c.entryStays) {
      EXPECT_EQ(command, qtest::ReadRegText(kEntry, "QuietUninstallString"));
      EXPECT_EQ(0u, QuietUninstall());
      qtest::ExpectUninstalled(folder);
    } else {
      EXPECT_FALSE(qtest::RegKeyExists(kEntry)) << "its uninstaller has gone: " << c.reached;
      EXPECT_EQ(0u, InstallSilently("/S /D=" + folder));
      ExpectInstalled(folder);
      EXPECT_EQ(0u, QuietUninstall());
    }
    EXPECT_FALSE(qtest::FileExists(folder)) << c.reached;
  }
}

// An installation into the folder an uninstall is removing, on a drive other
// than the uninstaller's copy's (which cannot move itself away there), waits
// until the uninstall's last file operation is done: both exit codes are true.
TEST_F(InstallerSafety, AnInstallationWaitsForTheWholeUninstallOnAnotherDrive) {
  // S: is a file system of its own, where the uninstaller truly cannot be moved away.
  if (!qtest::FileExists("S:\\")) GTEST_SKIP() << "no small drive S: (it needs root to mount)";
  const std::string folder = "S:\\uninstall_lock\\Quantara";
  ASSERT_EQ(0u, InstallSilently("/S /D=" + folder));
  // A converter window slow to close holds the uninstall until the installation waits.
  HWND converter = ::CreateWindowA("STATIC", kProductName, WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                   ::GetModuleHandleA(nullptr), nullptr);
  ::SetPropA(converter, kConverterWindowMark, converter);
  qtest::Program uninstall, install;
  ASSERT_TRUE(uninstall.Start(folder + "\\" + kInstallerFileName, "UnInstall /S"));
  ASSERT_TRUE(qtest::WaitUntil([] { return LogHas("Closing [Quantara]"); }, qtest::kInstallWait, 1));
  HANDLE copy = qtest::OpenProcessNamed(kInstallerFileName, uninstall.Id());
  ASSERT_NE(nullptr, copy);
  ASSERT_TRUE(install.Start(qtest::BinPath(kInstallerFileName), "/S /D=" + folder));
  ASSERT_TRUE(qtest::WaitUntil([] { return LogHas("Waiting for another installation"); }, qtest::kInstallWait, 1));
  ::RemovePropA(converter, kConverterWindowMark);
  ::DestroyWindow(converter);
  ASSERT_TRUE(uninstall.WaitForExit(qtest::kInstallWait) && install.WaitForExit(qtest::kInstallWait));
  EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(copy, qtest::kInstallWait)) << "the uninstaller's copy ends";
  ::CloseHandle(copy);
  EXPECT_EQ(0u, uninstall.ExitCode());
  EXPECT_EQ(0u, install.ExitCode());
  ExpectInstalled(folder);
  EXPECT_TRUE(qtest::ReadFileBytes(qtest::BinPath(kInstallerFileName)) == qtest::ReadFileBytes(folder + "\\qtrasx.exe"));
  EXPECT_EQ(0u, QuietUninstall());
  EXPECT_TRUE(qtest::WaitUntil([&] { return !qtest::FileExists(folder); }));
}

// Two installers at once: one waits for the other; an interactive one says so.
TEST_F(InstallerSafety, OneInstallerRunsAtATime) {
  const std::string base = qtest::MakeTempFolder("two_at_once");
  qtest::Program first, second;
  ASSERT_TRUE(first.Start(qtest::BinPath(kInstallerFileName), "/S /D=" + base + "\\one"));
  ASSERT_TRUE(second.Start(qtest::BinPath(kInstallerFileName), "/S /D=" + base + "\\two"));
  ASSERT_TRUE(first.WaitForExit(qtest::kInstallWait) && second.WaitForExit(qtest::kInstallWait));
  EXPECT_EQ(0u, first.ExitCode());
  EXPECT_EQ(0u, second.ExitCode());
  const std::string folder = qtest::ReadRegText(kEntry, "InstallLocation");
  ExpectInstalled(folder);
  EXPECT_EQ(std::vector<std::string>{folder.substr(base.size() + 1)}, qtest::FolderEntries(base)) << "one installation";

  HANDLE held = ::CreateMutexA(nullptr, TRUE, "Marlowbrook.Quantara.Installer");
  qtest::Program page;
  ASSERT_TRUE(page.Start(qtest::BinPath(kInstallerFileName)));
  EXPECT_NE("", qtest::AnswerBox("Quantara Installation", "Another installation of Quantara is in progress."));
  EXPECT_TRUE(page.WaitForExit(qtest::kInstallWait));
  EXPECT_EQ(static_cast<DWORD>(kExitInstallInProgress), page.ExitCode());
  ::ReleaseMutex(held);
  ::CloseHandle(held);
}

// The previous release accepted the user's Downloads, which this one refuses
// for a new installation: its installation there is upgraded in place, past
// the user's files, and its uninstall leaves the folder and those files.
TEST_F(InstallerSafety, ThePreviousReleasesInstallationInDownloadsIsUpgradedInPlace) {
  const std::string previous = PreviousInstaller();
  if (previous.empty()) GTEST_SKIP() << "no previous release's installer (scripts/build-previous-release)";
  const std::string downloads = qtest::SpecialFolder(CSIDL_PROFILE) + "\\Downloads";
  ::CreateDirectoryA(downloads.c_str(), nullptr);
  const std::vector<std::string> files = {"holiday.zip"};
  qtest::WriteFileBytes(downloads + "\\holiday.zip", "holiday.zip");
  ASSERT_EQ(0u, qtest::RunSilently(previous, "/S /D=" + downloads));
  ExpectInstalled(downloads);
  EXPECT_EQ(0u, InstallSilently("/S"));
  ExpectInstalled(downloads);
  EXPECT_TRUE(qtest::ReadFileBytes(qtest::BinPath(kInstallerFileName)) == qtest::ReadFileBytes(downloads + "\\qtrasx.exe"))
      << "upgraded";
  ExpectUntouched(downloads, files);
  EXPECT_EQ(static_cast<DWORD>(kExitFolderNotRemoved), QuietUninstall());
  qtest::ExpectUninstalled(downloads);
  ExpectUntouched(downloads, files);
  ::DeleteFileA((downloads + "\\holiday.zip").c_str());
}

// An uninstall of this release ended half-way, then the previous release
// (which knows no record) installed elsewhere: that installation is upgraded
// in place, never unregistered nor installed a second time.
TEST_F(InstallerSafety, AStaleUninstallRecordLeavesThePreviousReleasesInstallation) {
  const std::string previous = PreviousInstaller();
  if (previous.empty()) GTEST_SKIP() << "no previous release's installer (scripts/build-previous-release)";
  const std::string base = qtest::MakeTempFolder("stale_record");
  const std::string ended = base + "\\qtra";
  const std::string other = base + "\\qtra2";
  const std::string usual = qtest::SpecialFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Quantara";
  ASSERT_EQ(0u, InstallSilently("/S /D=" + ended));
  qtest::Program relay;
  ASSERT_TRUE(relay.Start(ended + "\\" + kInstallerFileName, "UnInstall /S"));
  ASSERT_TRUE(qtest::WaitUntil([] { return LogHas("Deleting the program's files"); }, qtest::kInstallWait, 1));
  EXPECT_EQ(1, qtest::KillProcessesNamed(kInstallerFileName, relay.Id()));
  EXPECT_TRUE(relay.WaitForExit(qtest::kInstallWait));
  ASSERT_EQ(0u, qtest::RunSilently(previous, "/S /D=" + other));
  EXPECT_EQ(0u, InstallSilently("/S"));
  ExpectInstalled(other);
  EXPECT_TRUE(qtest::ReadFileBytes(qtest::BinPath(kInstallerFileName)) == qtest::ReadFileBytes(other + "\\qtrasx.exe"))
      << "upgraded";
  EXPECT_FALSE(qtest::FileExists(usual)) << "installed a second time";
  EXPECT_EQ(std::vector<std::string>{"qtra2"}, qtest::FolderEntries(base)) << "the ended uninstall's files went";
  qtest::DeleteFolderTree(usual);
}

// A per-user installation leaves no empty maker's folder behind, also one the
// previous release made (it recorded no folder it made), once upgraded.
TEST_F(InstallerSafety, NoEmptyFolderOfOursStays) {
  const std::string maker = qtest::SpecialFolder(CSIDL_LOCAL_APPDATA) + "\\Marlowbrook";
  for (const std::string& first : {qtest::BinPath(kInstallerFileName), PreviousInstaller()}) {
    if (first.empty()) continue;  // no previous release's installer
    qtest::DeleteFolderTree(maker);
    EXPECT_EQ(0u, qtest::RunSilently(first, "/S /D=" + maker + "\\qtra"));
    EXPECT_EQ(0u, InstallSilently("/S"));
    EXPECT_EQ(0u, QuietUninstall());
    EXPECT_FALSE(qtest::FileExists(maker)) << first;
  }
}

}  // namespace

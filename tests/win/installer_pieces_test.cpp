// Pieces of the installer on their own: making and deleting folders, the
// time-keeping copy, the uninstall entry and its removal, recognising the
// converter's window, and the installation modes' fallbacks.
#include <windows.h>

#include <direct.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "common/file_safety.h"
#include "common/paths.h"
#include "common/product.h"
#include "common/registry.h"
#include "installer/converter_closing.h"
#include "installer/folder_security.h"
#include "installer/folders.h"
#include "installer/install_modes.h"
#include "installer/installer_state.h"
#include "installer/payload.h"
#include "installer/uninstall_entry.h"
#include "installer/uninstall_steps.h"
#include "tests/harness/test_support.h"

namespace {

std::string WorkingDirectory() {
  char path[MAX_PATH + 1] = {};
  _getcwd(path, MAX_PATH);
  return path;
}

TEST(InstallerFolders, CreateFolderPathRefusesAPathWithoutDriveLetter) {
  EXPECT_EQ(0, CreateFolderPath(nullptr, "1:\\qtest_digit", 0));
  EXPECT_EQ(0, CreateFolderPath(nullptr, "\\\\server\\share", 0));
}

TEST(InstallerFolders, CreateFolderPathMakesEveryLevelAndKeepsTheWorkingDirectory) {
  std::string base = qtest::MakeTempFolder("levels");
  std::string lower = base;
  lower[0] = static_cast<char>(tolower(lower[0]));
  const std::string before = WorkingDirectory();
  ASSERT_EQ(1, CreateFolderPath(nullptr, (lower + "\\one\\two\\").c_str(), 0));
  EXPECT_TRUE(qtest::FileExists(base + "\\one"));
  EXPECT_TRUE(qtest::FileExists(base + "\\one\\two"));
  EXPECT_EQ(before, WorkingDirectory());
  // An existing path is fine as it is.
  EXPECT_EQ(1, CreateFolderPath(nullptr, (base + "\\one\\two").c_str(), 0));
  qtest::DeleteFolderTree(base);
}

TEST(InstallerFolders, CreateFolderPathLeavesALastLevelBeyond234CharactersUnmade) {
  std::string base = qtest::MakeTempFolder("deep");
  std::string middle = base + "\\" + std::string(230 - base.size() - 1, 'm');
  std::string path = middle + "\\last_level";
  ASSERT_GT(path.size(), 234u);
  EXPECT_EQ(1, CreateFolderPath(nullptr, path.c_str(), 0));
  EXPECT_TRUE(qtest::FileExists(middle));
  EXPECT_FALSE(qtest::FileExists(path));
  qtest::DeleteFolderTree(base);
}

TEST(InstallerFolders, RemoveProgramFilesTakesOnlyOurFilesAndTheFolderOnceEmpty) {
  std::string base = qtest::MakeTempFolder("tree");
  for (const char* name : {"QTRA.EXE", "email_ts.htm", "tmp", "README.TXT.qtraold"}) qtest::WriteFileBytes(base + "\\" + name, "q");
  qtest::WriteFileBytes(base + "\\notes.txt", "mine");
  ::CreateDirectoryA((base + "\\.keep").c_str(), nullptr);
  EXPECT_EQ(0, RemoveProgramFiles(base.c_str()));
  EXPECT_EQ((std::vector<std::string>{".keep", "notes.txt"}), qtest::FolderEntries(base));
  EXPECT_EQ("mine", qtest::ReadFileBytes(base + "\\notes.txt"));
  ::DeleteFileA((base + "\\notes.txt").c_str());
  ::RemoveDirectoryA((base + "\\.keep").c_str());
  qtest::WriteFileBytes(base + "\\qtrasx.exe", "q");
  EXPECT_NE(0, RemoveProgramFiles(base.c_str()));
  EXPECT_FALSE(qtest::FileExists(base));
}

TEST(InstallerFolders, RemoveProgramFilesNeverEmptiesABareDrive) {
  // "C:" lists the drive's working directory; a path without backslash is refused.
  std::string base = qtest::MakeTempFolder("bare");
  qtest::WriteFileBytes(base + "\\QTRA.EXE", "s");
  const std::string before = WorkingDirectory();
  _chdir(base.c_str());
  char drive[3] = {base[0], ':', '\0'};
  EXPECT_EQ(0, RemoveProgramFiles(drive));
  _chdir(before.c_str());
  EXPECT_TRUE(qtest::FileExists(base + "\\QTRA.EXE"));
  qtest::DeleteFolderTree(base);
}


TEST(InstallerFolders, ProgramFolderIsJudgedOnItsResolvedPath) {
  const std::string windows = qtest::SpecialFolder(CSIDL_WINDOWS);
  const std::string profile = qtest::SpecialFolder(CSIDL_PROFILE);
  const std::string drive = windows.substr(0, 2);
  std::string base = qtest::MakeTempFolder("judged");
  const struct {
    std::string path;
    FolderVerdict verdict;
  } cases[] = {
      {drive + "\\.", kFolderIsRoot},
      {drive + "\\a\\..", kFolderIsRoot},
      {drive + "\\a\\..\\..\\.", kFolderIsRoot},
      {drive + "\\", kFolderIsRoot},
      {drive, kFolderIsRelative},  // the drive's working directory, whatever it is
      {"qtra", kFolderIsRelative},
      {"\\\\server\\share\\", kFolderIsNetwork},
      {"\\\\server\\share\\sub\\..", kFolderIsNetwork},
      {windows + "\\Fonts", kFolderIsProtected},
      {qtest::SpecialFolder(CSIDL_SYSTEM) + "\\drivers", kFolderIsProtected},
      {profile + "\\Downloads", kFolderIsProtected},
      {qtest::SpecialFolder(CSIDL_MYPICTURES), kFolderIsProtected},
      {qtest::SpecialFolder(CSIDL_FAVORITES), kFolderIsProtected},
      {qtest::SpecialFolder(CSIDL_PROGRAM_FILESX86), kFolderIsProtected},
      {qtest::SpecialFolder(CSIDL_PROGRAM_FILES) + "\\Marlowbrook\\qtra", kFolderUsable},
      {qtest::SpecialFolder(CSIDL_LOCAL_APPDATA) + "\\Marlowbrook\\qtra", kFolderUsable},
      {windows, kFolderIsProtected},
      {windows + "\\qtra\\..", kFolderIsProtected},
      {qtest::SpecialFolder(CSIDL_SYSTEM), kFolderIsProtected},
      {profile, kFolderIsProtected},
      {profile + "\\..", kFolderIsProtected},
      {qtest::SpecialFolder(CSIDL_PERSONAL), kFolderIsProtected},
      {qtest::SpecialFolder(CSIDL_PROGRAM_FILES), kFolderIsProtected},
      {base, kFolderUsable},
      {base + "\\sub\\..\\", kFolderUsable},
  };
  for (const auto& c : cases) {
    char full[kPathSize] = {};
    EXPECT_EQ(c.verdict, CheckProgramFolder(c.path.c_str(), full)) << c.path << " -> " << full;
  }
  char full[kPathSize] = {};
  EXPECT_EQ(kFolderUsable, CheckProgramFolder((base + "\\sub\\..\\").c_str(), full));
  EXPECT_STRCASEEQ(base.c_str(), full) << "resolved, without trailing backslash";
  qtest::DeleteFolderTree(base);
}

TEST(InstallerFolders, RemoveProgramFilesLeavesARefusedFolderWhole) {
  // A folder of the user's own, named through ".." forms of its parent's
  // guarded folder: nothing in it is touched.
  std::string own = qtest::SpecialFolder(CSIDL_PERSONAL) + "\\qtest_own";
  ::CreateDirectoryA(own.c_str(), nullptr);
  qtest::WriteFileBytes(own + "\\QTRA.EXE", "dear");
  for (const std::string& path : {qtest::SpecialFolder(CSIDL_PERSONAL), own + "\\..", own + "\\.\\..\\"}) {
    EXPECT_EQ(0, RemoveProgramFiles(path.c_str())) << path;
  }
  EXPECT_EQ("dear", qtest::ReadFileBytes(own + "\\QTRA.EXE"));
  qtest::DeleteFolderTree(own);
}

TEST(InstallerFolders, FinalPathsAreAvailableAndPlainEntriesStay) {
  std::string base = qtest::MakeTempFolder("final");
  qtest::WriteFileBytes(base + "\\plain.txt", "p");
  char where[2 * MAX_PATH] = {};
  ASSERT_TRUE(FinalPathOf((base + "\\plain.txt").c_str(), where, sizeof where)) << "GetFinalPathNameByHandleA";
  char folderWhere[2 * MAX_PATH] = {};
  ASSERT_TRUE(FinalPathOf(base.c_str(), folderWhere, sizeof folderWhere));
  EXPECT_TRUE(IsSameOrInside(where, folderWhere)) << where << " in " << folderWhere;
  EXPECT_FALSE(LeadsOutside((base + "\\plain.txt").c_str(), base.c_str()));
  EXPECT_TRUE(ClearLinkForWriting((base + "\\plain.txt").c_str(), base.c_str()));
  EXPECT_TRUE(ClearLinkForWriting((base + "\\absent.txt").c_str(), base.c_str()));
  EXPECT_EQ("p", qtest::ReadFileBytes(base + "\\plain.txt")) << "a plain file of the folder is not removed";
  EXPECT_FALSE(FinalPathOf((base + "\\absent.txt").c_str(), where, sizeof where));
  qtest::DeleteFolderTree(base);
}

// Wine keeps no access lists on its files: the descriptor is read as built.
TEST(InstallerFolders, AFolderOfOurOwnGrantsNoWriteToOthersAndInheritsNothing) {
  COwnFolderSecurity security;
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD size = 0;
  ASSERT_TRUE(::GetSecurityDescriptorControl(security.Descriptor(), &control, &size));
  EXPECT_TRUE(control & SE_DACL_PROTECTED);
  BOOL present = FALSE, defaulted = TRUE;
  PACL acl = nullptr;
  ASSERT_TRUE(::GetSecurityDescriptorDacl(security.Descriptor(), &present, &acl, &defaulted) && acl != nullptr);
  BYTE user[256] = {};
  HANDLE token = nullptr;
  ::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token);
  ::GetTokenInformation(token, TokenUser, user, sizeof user, &size);
  ::CloseHandle(token);
  const struct {
    WELL_KNOWN_SID_TYPE type;  // WinNullSid: the current user
    DWORD access;
  } expected[] = {{WinNullSid, FILE_ALL_ACCESS},
                  {WinBuiltinAdministratorsSid, FILE_ALL_ACCESS},
                  {WinLocalSystemSid, FILE_ALL_ACCESS},
                  {WinBuiltinUsersSid, FILE_GENERIC_READ | FILE_GENERIC_EXECUTE}};
  ASSERT_EQ(4u, acl->AceCount);
  for (DWORD i = 0; i < 4; ++i) {
    ACCESS_ALLOWED_ACE* ace = nullptr;
    BYTE sid[SECURITY_MAX_SID_SIZE];
    size = sizeof sid;
    ASSERT_TRUE(::GetAce(acl, i, reinterpret_cast<void**>(&ace)) && ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE);
    EXPECT_EQ(OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE, ace->Header.AceFlags) << i;
    EXPECT_EQ(expected[i].access, ace->Mask) << i;
    const bool own = expected[i].type == WinNullSid;
    EXPECT_TRUE(own ? ::EqualSid(&ace->SidStart, reinterpret_cast<TOKEN_USER*>(user)->User.Sid)
                    : ::CreateWellKnownSid(expected[i].type, nullptr, sid, &size) && ::EqualSid(&ace->SidStart, sid))
        << i;
  }
}

TEST(InstallerFolders, OnlyFoldersOutsideTheProfileAndProgramFilesGetPermissionsOfTheirOwn) {
  char profile[MAX_PATH] = {}, programs[MAX_PATH] = {};
  ::GetEnvironmentVariableA("USERPROFILE", profile, MAX_PATH);
  ::GetEnvironmentVariableA("ProgramFiles", programs, MAX_PATH);
  const std::string inside[] = {std::string(profile) + "\\AppData\\qtra", std::string(programs) + "\\qtra"};
  const std::string outside[] = {"C:\\qtra", std::string(profile) + "x\\qtra", std::string(profile) + "\\..\\x"};
  for (const std::string& path : inside) EXPECT_FALSE(NeedsOwnPermissions(path.c_str())) << path;
  for (const std::string& path : outside) EXPECT_TRUE(NeedsOwnPermissions(path.c_str())) << path;
  const std::string folder = qtest::MakeTempFolder("own") + "\\made";
  EXPECT_TRUE(CreateOwnFolder(folder.c_str()) && !CreateOwnFolder(folder.c_str()));
}

TEST(InstallerCopy, TheUninstallersCopyIsComparedByteForByte) {
  const std::string folder = qtest::MakeTempFolder("compare"), block(40000, 'q');  // more than one read
  const std::string cases[][2] = {
      {block, block}, {"", ""}, {block, block + "x"}, {block + "x", block}, {block, block.substr(1) + "r"}};
  for (const auto& files : cases) {
    HANDLE handles[2];
    for (int i = 0; i < 2; ++i) {
      const std::string path = folder + "\\" + std::to_string(i);
      qtest::WriteFileBytes(path, files[i]);
      handles[i] = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    }
    EXPECT_EQ(files[0] == files[1], SameFileBytes(handles[0], handles[1])) << files[0].size() << files[1].size();
    for (HANDLE handle : handles) ::CloseHandle(handle);
  }
}

TEST(InstallerCopy, CopiesWholeMultiplesOfTheTransferSizeAndKeepsTheTime) {
  std::string base = qtest::MakeTempFolder("copy");
  for (size_t size : {size_t(0), size_t(1), size_t(8191), size_t(8192), size_t(16384), size_t(20000)}) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + size);
    std::string source = base + "\\source.bin";
    std::string destination = base + "\\copy.bin";
    ASSERT_TRUE(qtest::WriteFileBytes(source, bytes));
    FILETIME old = {0x12345678u, 0x01D00000u};
    HANDLE file = ::CreateFileA(source.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ::SetFileTime(file, nullptr, nullptr, &old);
    ::CloseHandle(file);
    qtest::WriteFileBytes(destination, std::string(30000, 'x'));  // longer: must be truncated

    ASSERT_EQ(1, CopyFileKeepTime(source.c_str(), destination.c_str(), 1)) << size;
    EXPECT_TRUE(qtest::ReadFileBytes(destination) == bytes) << size;
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(::GetFileAttributesExA(destination.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(0, ::CompareFileTime(&old, &data.ftLastWriteTime)) << size;
  }
  qtest::DeleteFolderTree(base);
}

TEST(InstallerCopy, FailsForAMissingSourceWithoutKeepingTime) {
  std::string base = qtest::MakeTempFolder("copy_missing");
  EXPECT_EQ(0, CopyFileKeepTime((base + "\\none.bin").c_str(), (base + "\\copy.bin").c_str(), 0));
  EXPECT_FALSE(qtest::FileExists(base + "\\copy.bin"));
  qtest::DeleteFolderTree(base);
}

const std::string kEntry = qtest::kUninstallEntry;

TEST(InstallerEntry, RecordsTheFolderWithoutTrailingBackslash) {
  std::string base = qtest::MakeTempFolder("entry");
  qtest::WriteFileBytes(base + "\\one.bin", std::string(1500, 'a'));
  qtest::WriteFileBytes(base + "\\two.bin", std::string(100, 'b'));
  ASSERT_EQ(1, WriteUninstallEntry((base + "\\\\").c_str()));
  EXPECT_EQ("\"" + base + "\\qtrasx.exe\" UnInstall", qtest::ReadRegText(kEntry, "UninstallString"));
  EXPECT_EQ(base, qtest::ReadRegText(kEntry, "InstallLocation"));
  EXPECT_EQ(base + "\\QTRA.EXE", qtest::ReadRegText(kEntry, "DisplayIcon"));
  std::string data;
  DWORD type = 0;
  ASSERT_TRUE(qtest::ReadRegValue(kEntry, "EstimatedSize", &data, &type));
  ASSERT_EQ(static_cast<DWORD>(REG_DWORD), type);
  DWORD kilobytes = 0;
  memcpy(&kilobytes, data.data(), sizeof kilobytes);
  EXPECT_EQ(3u, kilobytes) << "each file counts in whole kilobytes, rounded up";
  ASSERT_TRUE(qtest::ReadRegValue(kEntry, "DisplayName", &data, &type));
  EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
  EXPECT_EQ(std::string("Quantara", 9), data) << "stored with its terminator";
  qtest::DeleteRegTree(kEntry);
  qtest::DeleteFolderTree(base);
}

TEST(InstallerEntry, RemovalTakesEntryAndSettingsButNotTheMakersOtherKeys) {
  WriteUninstallEntry("C:\\qtest_somewhere");
  WriteRegString(kConfigureKey, kProgramDirValue, "C:\\qtest_somewhere", ProductRegKey);
  WriteRegString(kHandlesKey, kTransHandleValue, "0", ProductRegKey);
  qtest::WriteRegText("Software\\Marlowbrook\\Applications\\other", "Kept", "yes");
  RemoveRegistrations();
  EXPECT_FALSE(qtest::RegKeyExists(kEntry));
  EXPECT_FALSE(qtest::RegKeyExists(qtest::kProductKey));
  EXPECT_EQ("yes", qtest::ReadRegText("Software\\Marlowbrook\\Applications\\other", "Kept"));
  qtest::DeleteRegTree("Software\\Marlowbrook\\Applications\\other");
  RemoveRegistrations();
  EXPECT_FALSE(qtest::RegKeyExists("Software\\Marlowbrook")) << "empty parents go too";
}

TEST(InstallerConverterWindow, OnlyTheConvertersMarkedTopLevelWindowIsTaken) {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  HWND converter = ::CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr);
  // Another program's window whose title begins like ours.
  HWND other = ::CreateWindowA("STATIC", "Quantara - Version history.txt - Notepad", WS_POPUP, 0, 0, 10, 10, nullptr,
                               nullptr, instance, nullptr);
  HWND child = ::CreateWindowA("STATIC", kMainTitle, WS_CHILD, 0, 0, 5, 5, other, nullptr, instance, nullptr);
  for (HWND window : {converter, child}) ::SetPropA(window, kConverterWindowMark, reinterpret_cast<HANDLE>(1));
  EXPECT_TRUE(IsConverterMainWindow(converter));
  EXPECT_FALSE(IsConverterMainWindow(other));
  EXPECT_FALSE(IsConverterMainWindow(child));
  EXPECT_FALSE(IsConverterMainWindow(nullptr));
  ::DestroyWindow(converter);
  EXPECT_FALSE(IsConverterMainWindow(converter)) << "a handle whose window is gone";
  ::DestroyWindow(other);
}

TEST(InstallerConverterWindow, AStrangeHandleIsNotAskedToClose) {
  HWND stranger = ::CreateWindowA("STATIC", "Quantara - Version history.txt - Notepad", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
  WriteRegUnsigned(kHandlesKey, kTransHandleValue, HandleToULong(stranger), ProductRegKey);
  DWORD start = ::GetTickCount();
  CloseRunningConverter(nullptr);
  EXPECT_LT(::GetTickCount() - start, 1000u) << "no message and no polling";
  MSG message;
  EXPECT_FALSE(::PeekMessageA(&message, stranger, WM_COMMAND, WM_COMMAND, PM_REMOVE));
  ::DestroyWindow(stranger);
  qtest::DeleteRegTree(qtest::kProductKey);
}

// Answers, from a second thread, the one information box the code under test shows.
class BoxAnswerer {
 public:
  explicit BoxAnswerer(const std::string& textPart)
      : m_thread([this, textPart] {
          HWND box = qtest::WaitForMessageBox("Quantara", textPart, ::GetCurrentProcessId(), 20000);
          if (box != nullptr) {
            m_seen = true;
            qtest::PressButton(box, IDOK);
          }
        }) {}
  ~BoxAnswerer() { Seen(); }
  bool Seen() {
    if (m_thread.joinable()) m_thread.join();
    return m_seen;
  }

 private:
  std::atomic<bool> m_seen{false};
  std::thread m_thread;
};

class InstallerModes : public ::testing::Test {
 protected:
  void SetUp() override {
    InitDriveFolders();
    g_state.mode = 0;
    qtest::DeleteRegTree(qtest::kProductKey);
  }
  void TearDown() override { qtest::DeleteRegTree(qtest::kProductKey); }
};

TEST_F(InstallerModes, UpgradeTakesTheRecordedFolderOnlyWhenTheConverterIsThere) {
  if (qtest::FileExists(g_state.defaultUpgradeFolder)) GTEST_SKIP() << "a default upgrade folder exists here";
  std::string base = qtest::MakeTempFolder("upgrade");
  WriteRegString(kConfigureKey, kProgramDirValue, base.c_str(), ProductRegKey);
  char folder[kPathSize] = {};
  EXPECT_EQ(0, TryUpgrade(nullptr, folder, 0));
  EXPECT_EQ(1002, g_state.mode);

  qtest::WriteFileBytes(base + "\\QTRA.EXE", "MZ");
  EXPECT_EQ(1, TryUpgrade(nullptr, folder, 0));
  EXPECT_EQ(1006, g_state.mode);
  EXPECT_EQ(base, folder);
  qtest::DeleteFolderTree(base);
}

TEST_F(InstallerModes, RoamingAndMultiUserFallBackThroughTheChain) {
  if (qtest::FileExists(g_state.defaultUpgradeFolder)) GTEST_SKIP() << "a default upgrade folder exists here";
  char folder[kPathSize] = {};
  EXPECT_EQ(0, TryRoamingUser(nullptr, folder, 0));
  EXPECT_EQ(1002, g_state.mode);
  EXPECT_EQ(0, TryMultiUser(nullptr, folder, 0));
  EXPECT_EQ(1002, g_state.mode);

  // No earlier installation: the chain goes on to the short path.
  BoxAnswerer multiUser("Multi User will be available in future versions.");
  ASSERT_EQ(1, RunModeChain(nullptr, 1005, folder));
  EXPECT_TRUE(multiUser.Seen());
  EXPECT_EQ(1001, g_state.mode);
  EXPECT_STREQ(g_state.shortPathFolder, folder);

  // With one, the chain stops at the upgrade.
  std::string base = qtest::MakeTempFolder("chain");
  qtest::WriteFileBytes(base + "\\QTRA.EXE", "MZ");
  WriteRegString(kConfigureKey, kProgramDirValue, base.c_str(), ProductRegKey);
  BoxAnswerer roaming("Roaming will be available in future versions.");
  ASSERT_EQ(1, RunModeChain(nullptr, 1004, folder));
  EXPECT_TRUE(roaming.Seen());
  EXPECT_EQ(1006, g_state.mode);
  EXPECT_EQ(base, folder);
  qtest::DeleteFolderTree(base);
}

TEST_F(InstallerModes, LocalUserAndProgramFilesLieBelowTheirShellFolders) {
  char folder[kPathSize] = {};
  char shell[kPathSize] = {};
  ASSERT_EQ(1, TryLocalUser(nullptr, folder, 0));
  EXPECT_EQ(1002, g_state.mode);
  ASSERT_EQ(1, GetSpecialFolder(nullptr, 0x1c /* CSIDL_LOCAL_APPDATA */, shell));
  EXPECT_EQ(std::string(shell) + "\\Marlowbrook\\qtra", folder);
  ASSERT_EQ(1, TryProgramFiles(nullptr, folder, 0));
  EXPECT_EQ(1003, g_state.mode);
  ASSERT_EQ(1, GetSpecialFolder(nullptr, 0x26 /* CSIDL_PROGRAM_FILES */, shell));
  EXPECT_EQ(std::string(shell) + "\\Marlowbrook\\qtra", folder);
}

TEST_F(InstallerModes, DriveFoldersCarryTheWindowsDrive) {
  char windows[MAX_PATH + 1] = {};
  ::GetWindowsDirectoryA(windows, MAX_PATH);
  const char drive = static_cast<char>(toupper(windows[0]));
  EXPECT_EQ(std::string(1, drive) + ":\\qtra", g_state.shortPathFolder);
  EXPECT_EQ(std::string(1, drive) + ":\\Program Files\\QUANTARA", g_state.defaultUpgradeFolder);
}

}  // namespace

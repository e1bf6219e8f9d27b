// The installer end to end: a first installation, a second one over a running
// converter, the location page's refusals, and the uninstall with its two
// confirmations. The cases run in order; each builds on the state the one
// before it left (an installation in the proposed folder).
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/product.h"
#include "tests/harness/install_runs.h"
#include "tests/harness/test_support.h"

namespace {

const std::string kConfigure = qtest::ProductSubKey("Configure");
const std::string kHandles = qtest::ProductSubKey(kHandlesKey);
const std::string kEntry = qtest::kUninstallEntry;
const char kInstallTitle[] = "Quantara Installation";
const DWORD kLongWait = 60000;


std::string WindowsDrive() {
  char windows[MAX_PATH + 1] = {};
  ::GetWindowsDirectoryA(windows, MAX_PATH);
  return std::string(1, static_cast<char>(toupper(windows[0])));
}

std::string ProposedFolder() { return WindowsDrive() + ":\\qtra"; }

struct NoticeSearch {
  HWND found;
};

BOOL CALLBACK MatchNotice(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<NoticeSearch*>(param);
  char title[64] = {};
  ::GetWindowTextA(window, title, sizeof title);
  if (std::string(title) != "Quantara" || !::IsWindowVisible(window)) return TRUE;
  HWND body = ::GetDlgItem(window, 1308);
  if (body == nullptr || qtest::GetText(body).find("is installed on your Hard-Drive") == std::string::npos) {
    return TRUE;
  }
  search->found = window;
  return FALSE;
}

// The converter the installer started: greets with its first-run notice, then
// shows its main window, which the test closes.
bool ConverterGreetsAndCloses() {
  NoticeSearch notice = {nullptr};
  bool greeted = qtest::WaitUntil(
      [&] {
        ::EnumWindows(&MatchNotice, reinterpret_cast<LPARAM>(&notice));
        return notice.found != nullptr;
      },
      kLongWait);
  if (!greeted) {
    fprintf(stderr, "no first-run notice; windows: %s\n", qtest::DescribeWindows(0).c_str());
    return false;
  }
  qtest::PostCommand(notice.found, IDOK);
  HWND main = qtest::WaitForWindow(kMainTitlePrefix, 0, kLongWait, true);
  if (main == nullptr) return false;
  ::PostMessageA(main, WM_CLOSE, 0, 0);
  return qtest::WaitUntil([&] { return !::IsWindow(main); }, kLongWait);
}

struct Shortcut {
  std::string target, arguments, workingDir, icon;
  int iconIndex = -1;
};

bool ReadShortcut(const std::string& path, Shortcut* link) {
  IShellLinkA* shellLink = nullptr;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&shellLink)))) {
    return false;
  }
  IPersistFile* file = nullptr;
  bool loaded = false;
  if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    std::wstring wide(path.begin(), path.end());
    loaded = SUCCEEDED(file->Load(wide.c_str(), STGM_READ));
    file->Release();
  }
  if (loaded) {
    char text[MAX_PATH + 1] = {};
    shellLink->GetPath(text, MAX_PATH, nullptr, 0);
    link->target = text;
    text[0] = '\0';
    shellLink->GetArguments(text, MAX_PATH);
    link->arguments = text;
    text[0] = '\0';
    shellLink->GetWorkingDirectory(text, MAX_PATH);
    link->workingDir = text;
    text[0] = '\0';
    shellLink->GetIconLocation(text, MAX_PATH, &link->iconIndex);
    link->icon = text;
  }
  shellLink->Release();
  return loaded;
}

// The installed files and nothing else, but for the picture the converter
// writes beside them whenever it starts.
void ExpectTheEightFiles(const std::string& folder) {
  for (const char* name : qtest::kInstalledFiles) EXPECT_TRUE(qtest::FileExists(folder + "\\" + name)) << name;
  for (const std::string& name : qtest::FolderEntries(folder)) {
    bool known = name == "bg_sky.jpg";
    for (const char* file : qtest::kInstalledFiles) known = known || name == file;
    EXPECT_TRUE(known) << name << " in " << folder;
  }
}

// The bytes of the installer's own RCDATA resource `id`.
std::string EmbeddedFile(int id) {
  HMODULE installer = ::LoadLibraryExA(qtest::BinPath(kInstallerFileName).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (installer == nullptr) return "";
  std::string bytes;
  HRSRC resource = ::FindResourceA(installer, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10));
  HGLOBAL loaded = resource != nullptr ? ::LoadResource(installer, resource) : nullptr;
  const char* data = loaded != nullptr ? static_cast<const char*>(::LockResource(loaded)) : nullptr;
  if (data != nullptr) bytes.assign(data, ::SizeofResource(installer, resource));
  ::FreeLibrary(installer);
  return bytes;
}

FILETIME LastWrite(const std::string& path) {
  FILETIME time = {};
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) time = data.ftLastWriteTime;
  return time;
}

void ForgetEverything() {
  qtest::DeleteRegTree(qtest::kProductKey);
  qtest::DeleteRegTree(kEntry);
  qtest::DeleteFolderTree(ProposedFolder());
  ::DeleteFileA(qtest::DesktopLink().c_str());
  qtest::DeleteFolderTree(qtest::GroupFolder());
}

// The click is posted: the page has taken the mode once it shows its folder.
void ChooseLocalUser(HWND page) {
  qtest::Click(::GetDlgItem(page, 1002));
  const std::string tail = "\\Marlowbrook\\qtra";
  EXPECT_TRUE(qtest::WaitUntil([&] {
    const std::string folder = qtest::GetText(::GetDlgItem(page, 1008));
    return folder.size() > tail.size() && folder.compare(folder.size() - tail.size(), tail.size(), tail) == 0;
  }));
}

class InstallerFlow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ::CoInitialize(nullptr);
    ForgetEverything();
  }
};

TEST_F(InstallerFlow, LeavingTheLocationPageLeavesNoFolderBehind) {
  qtest::Program installer;
  ASSERT_TRUE(installer.Start(qtest::BinPath(kInstallerFileName)));
  HWND page = qtest::WaitForPage(installer.Id(), 1013, kLongWait);
  ASSERT_NE(nullptr, page);
  EXPECT_EQ(ProposedFolder(), qtest::GetText(::GetDlgItem(page, 1008)));
  EXPECT_FALSE(qtest::FileExists(ProposedFolder())) << "proposed, not made";
  ChooseLocalUser(page);
  EXPECT_NE(ProposedFolder(), qtest::GetText(::GetDlgItem(page, 1008)));
  qtest::Click(::GetDlgItem(page, 1012));  // Exit
  EXPECT_NE("", qtest::AnswerBox(kInstallTitle, "Conditions Prevented Proper Installation."));
  EXPECT_TRUE(installer.WaitForExit(kLongWait));
  EXPECT_EQ(1u, installer.ExitCode()) << "cancelled by the user";
  EXPECT_FALSE(qtest::FileExists(ProposedFolder()));
  EXPECT_FALSE(qtest::RegKeyExists(kEntry));
}

TEST_F(InstallerFlow, TheShortPathHoldingOthersFilesIsNeverProposed) {
  ASSERT_TRUE(::CreateDirectoryA(ProposedFolder().c_str(), nullptr));
  ASSERT_TRUE(qtest::WriteFileBytes(ProposedFolder() + "\\notes.txt", "mine"));
  qtest::Program installer;
  ASSERT_TRUE(installer.Start(qtest::BinPath(kInstallerFileName)));
  HWND page = qtest::WaitForPage(installer.Id(), 1013, kLongWait);
  ASSERT_NE(nullptr, page);
  EXPECT_TRUE(qtest::IsChecked(::GetDlgItem(page, 1002))) << "Local user instead";
  EXPECT_NE(ProposedFolder(), qtest::GetText(::GetDlgItem(page, 1008)));
  qtest::Click(::GetDlgItem(page, 1001));  // Short path, chosen anyway
  EXPECT_NE("", qtest::AnswerBox("Quantara", ProposedFolder() + " already holds files that are not part of Quantara."));
  EXPECT_NE(ProposedFolder(), qtest::GetText(::GetDlgItem(page, 1008)));
  qtest::Click(::GetDlgItem(page, 1012));  // Exit
  EXPECT_NE("", qtest::AnswerBox(kInstallTitle, "Conditions Prevented Proper Installation."));
  EXPECT_TRUE(installer.WaitForExit(kLongWait));
  EXPECT_EQ("mine", qtest::ReadFileBytes(ProposedFolder() + "\\notes.txt"));
  qtest::DeleteFolderTree(ProposedFolder());
}

TEST_F(InstallerFlow, FirstInstallationWritesFilesEntryAndShortcuts) {
  // Started from a download folder where libraries lie that the shell loads by name.
  const std::string downloads = qtest::MakeTempFolder("downloads");
  const std::string downloaded = downloads + "\\" + kInstallerFileName;
  ASSERT_TRUE(::CopyFileA(qtest::BinPath(kInstallerFileName).c_str(), downloaded.c_str(), FALSE));
  qtest::PlantLibraries(downloads);
  ::DeleteFileA(qtest::PlantedLibraryMarker().c_str());
  qtest::Program installer;
  ASSERT_TRUE(installer.Start(downloaded));
  HWND page = qtest::WaitForPage(installer.Id(), 1013, kLongWait);
  ASSERT_NE(nullptr, page);
  EXPECT_TRUE(qtest::IsChecked(::GetDlgItem(page, 1001))) << "Short path for easy use";
  EXPECT_EQ(ProposedFolder(), qtest::GetText(::GetDlgItem(page, 1008)));
  EXPECT_EQ("Installing Quantara to the following Folder . . . ", qtest::GetText(::GetDlgItem(page, 1007)));
  DWORD start = ::GetTickCount();
  qtest::Click(::GetDlgItem(page, 1013));
  ASSERT_TRUE(qtest::WaitUntil([&] { return !::IsWindow(page); }, kLongWait));
  ASSERT_TRUE(installer.WaitForExit(kLongWait));
  fprintf(stderr, "installation from Next to exit: %lu ms\n", ::GetTickCount() - start);

  const std::string folder = ProposedFolder();
  ExpectTheEightFiles(folder);
  EXPECT_FALSE(qtest::FileExists(folder + "\\tmp")) << "every link was moved into place";
  const std::string converter = qtest::ReadFileBytes(folder + "\\QTRA.EXE");
  EXPECT_FALSE(converter.empty());
  EXPECT_TRUE(converter == qtest::ReadFileBytes(qtest::BinPath("qtra.exe"))) << "the built converter, byte for byte";
  const int ids[] = {131, 132, 133, 134, 135, 136};
  for (int i = 0; i < 6; ++i) {
    std::string written = qtest::ReadFileBytes(folder + "\\" + qtest::kInstalledFiles[i + 1]);
    EXPECT_FALSE(written.empty()) << qtest::kInstalledFiles[i + 1];
    EXPECT_TRUE(written == EmbeddedFile(ids[i])) << qtest::kInstalledFiles[i + 1];
  }
  for (const char* icon : {"README.ICO", "MANUAL.ICO", "UNINSTL.ICO"}) {
    EXPECT_EQ(766u, qtest::ReadFileBytes(folder + "\\" + icon).size()) << icon;
  }
  FILETIME installed = LastWrite(folder + "\\qtrasx.exe");
  FILETIME original = LastWrite(qtest::BinPath(kInstallerFileName));
  EXPECT_EQ(0, ::CompareFileTime(&installed, &original)) << "qtrasx.exe keeps the installer's last-write time";
  EXPECT_TRUE(qtest::ReadFileBytes(folder + "\\qtrasx.exe") == qtest::ReadFileBytes(qtest::BinPath(kInstallerFileName)));

  EXPECT_EQ(folder, qtest::ReadRegText(kConfigure, kProgramDirValue));

  EXPECT_EQ("Quantara", qtest::ReadRegText(kEntry, "DisplayName"));
  EXPECT_EQ("\"" + folder + "\\qtrasx.exe\" UnInstall", qtest::ReadRegText(kEntry, "UninstallString"));
  EXPECT_EQ(folder, qtest::ReadRegText(kEntry, "InstallLocation"));
  EXPECT_EQ("Marlowbrook", qtest::ReadRegText(kEntry, "Publisher"));
  for (const char* url : {"URLInfoAbout", "URLUpdateInfo"}) {
    std::string address = qtest::ReadRegText(kEntry, url);
    EXPECT_EQ(0u, address.find("http://www.marlowbrook.example/")) << url << ": " << address;
  }
  EXPECT_EQ(kProductVersion, qtest::ReadRegText(kEntry, "DisplayVersion"));
  EXPECT_EQ(folder + "\\QTRA.EXE", qtest::ReadRegText(kEntry, "DisplayIcon"));
  std::string data;
  DWORD type = 0;
  ASSERT_TRUE(qtest::ReadRegValue(kEntry, "EstimatedSize", &data, &type));
  EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
  DWORD kilobytes = 0;
  memcpy(&kilobytes, data.data(), sizeof kilobytes);
  size_t bytes = 0;
  for (const char* name : qtest::kInstalledFiles) bytes += qtest::ReadFileBytes(folder + "\\" + name).size();
  EXPECT_GE(kilobytes, bytes / 1024);
  EXPECT_LE(kilobytes, bytes / 1024 + 8);
  for (const char* flag : {"NoModify", "NoRepair"}) {
    ASSERT_TRUE(qtest::ReadRegValue(kEntry, flag, &data, &type)) << flag;
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type) << flag;
    EXPECT_EQ(std::string("\1\0\0\0", 4), data) << flag;
  }

  Shortcut link;
  ASSERT_TRUE(ReadShortcut(qtest::DesktopLink(), &link));
  EXPECT_EQ(folder + "\\QTRA.EXE", link.target);
  EXPECT_EQ("", link.arguments);
  EXPECT_EQ(folder, link.workingDir);
  EXPECT_EQ(folder + "\\QTRA.EXE", link.icon);
  struct Expected {
    const char* name;
    const char* target;
    const char* arguments;
    const char* icon;
  } group[] = {{"Quantara", "QTRA.EXE", "", "QTRA.EXE"},
               {"Manual", "MANUAL.TXT", "", "MANUAL.ICO"},
               {"Read Me", "README.TXT", "", "README.ICO"},
               {"Help", "qtrahelp.htm", "", "qtrahelp.htm"},
               {"UnInstall", kInstallerFileName, kUninstallArgument, "UNINSTL.ICO"}};
  EXPECT_EQ(5u, qtest::FolderEntries(qtest::GroupFolder()).size());
  for (const Expected& expected : group) {
    Shortcut entry;
    ASSERT_TRUE(ReadShortcut(qtest::GroupFolder() + "\\" + expected.name + ".lnk", &entry)) << expected.name;
    EXPECT_EQ(folder + "\\" + expected.target, entry.target) << expected.name;
    EXPECT_EQ(expected.arguments, entry.arguments) << expected.name;
    EXPECT_EQ(folder, entry.workingDir) << expected.name;
    EXPECT_EQ(folder + "\\" + expected.icon, entry.icon) << expected.name;
    EXPECT_EQ(0, entry.iconIndex) << expected.name;
  }

  EXPECT_TRUE(ConverterGreetsAndCloses()) << "the converter starts with InstallingTheProgram";
  EXPECT_EQ("", qtest::PlantedLibrariesLoaded());
  qtest::DeleteFolderTree(downloads);
}

TEST_F(InstallerFlow, SecondInstallationClosesTheRunningConverterAndLeavesOneSetOfShortcuts) {
  const std::string folder = ProposedFolder();
  // An earlier group for all users and an old startup link are cleared away.
  const std::string commonGroup = qtest::SpecialFolder(CSIDL_COMMON_PROGRAMS) + "\\Quantara";
  ::CreateDirectoryA(commonGroup.c_str(), nullptr);
  qtest::WriteFileBytes(commonGroup + "\\Old.lnk", "x");
  const std::string startupLink = qtest::SpecialFolder(CSIDL_STARTUP) + "\\Quantara.lnk";
  qtest::WriteFileBytes(startupLink, "x");

  qtest::Program converter;
  ASSERT_TRUE(converter.Start(folder + "\\QTRA.EXE", "", folder));
  ASSERT_NE(nullptr, qtest::WaitForWindow(kMainTitlePrefix, converter.Id(), kLongWait, true));

  qtest::Program installer;
  ASSERT_TRUE(installer.Start(qtest::BinPath(kInstallerFileName)));
  EXPECT_NE("", qtest::AnswerBox("Quantara", "Closing [Quantara] as it can not be running while doing this operation..."));
  EXPECT_TRUE(converter.WaitForExit(kLongWait)) << "command 65000 ends the converter";
  EXPECT_EQ("0", qtest::ReadRegText(kHandles, kTransHandleValue));

  HWND page = qtest::WaitForPage(installer.Id(), 1013, kLongWait);
  ASSERT_NE(nullptr, page);
  EXPECT_TRUE(qtest::IsChecked(::GetDlgItem(page, 1006))) << "Upgrading proposes the recorded folder";
  EXPECT_EQ(folder, qtest::GetText(::GetDlgItem(page, 1008)));

  // Roaming is not offered yet: it says so and falls back to the first usable mode.
  qtest::Click(::GetDlgItem(page, 1004));
  EXPECT_NE("", qtest::AnswerBox("Quantara", "Roaming will be available in future versions."));
  ASSERT_TRUE(qtest::WaitUntil([&] { return qtest::IsChecked(::GetDlgItem(page, 1006)); }, 10000));
  EXPECT_FALSE(qtest::IsChecked(::GetDlgItem(page, 1004)));
  EXPECT_EQ(folder, qtest::GetText(::GetDlgItem(page, 1008)));

  qtest::Click(::GetDlgItem(page, 1013));
  ASSERT_TRUE(installer.WaitForExit(kLongWait));
  EXPECT_TRUE(ConverterGreetsAndCloses());

  int desktopLinks = 0;
  for (const std::string& name : qtest::FolderEntries(qtest::SpecialFolder(CSIDL_DESKTOP))) {
    if (name.compare(0, 8, "Quantara") == 0) ++desktopLinks;
  }
  EXPECT_EQ(1, desktopLinks);
  EXPECT_TRUE(qtest::FileExists(qtest::DesktopLink()));
  EXPECT_EQ(5u, qtest::FolderEntries(qtest::GroupFolder()).size());
  EXPECT_FALSE(qtest::FileExists(commonGroup));
  EXPECT_FALSE(qtest::FileExists(startupLink));
  ExpectTheEightFiles(folder);
}

// Wine running as root writes over read-only files, so the refusal can only be
// seen where the account honours the read-only attribute: under an ordinary
// account (runuser -u nobody, with a Wine prefix of its own) the case runs.
TEST_F(InstallerFlow, ReadOnlyReadMeStopsTheReinstallation) {
  const std::string folder = ProposedFolder();
  if (!qtest::ReadOnlyIsHonoured(folder)) {
    ASSERT_FALSE(qtest::RunsAsOrdinaryUser()) << "read-only files are written over under the ordinary account";
    GTEST_SKIP() << "this account writes over read-only files (Wine as root)";
  }
  const std::string readMe = folder + "\\README.TXT";
  ::SetFileAttributesA(readMe.c_str(), FILE_ATTRIBUTE_READONLY);
  qtest::Program installer;
  ASSERT_TRUE(installer.Start(qtest::BinPath(kInstallerFileName)));
  HWND page = qtest::WaitForPage(installer.Id(), 1013, kLongWait);
  ASSERT_NE(nullptr, page);
  qtest::Click(::GetDlgItem(page, 1013));
  // Called read-only, with what to do about it.
  std::string text = qtest::AnswerBox(kInstallTitle, "The file:\n" + readMe + "\nis read-only");
  EXPECT_NE(std::string::npos, text.find("Clear its read-only attribute")) << text;
  EXPECT_NE("", qtest::AnswerBox(kInstallTitle, "Permissions Problems"));
  EXPECT_NE("", qtest::AnswerBox(kInstallTitle, "Conditions Prevented Proper Installation."));
  EXPECT_TRUE(installer.WaitForExit(kLongWait));
  ::SetFileAttributesA(readMe.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(InstallerFlow, LocationPageRefusesBadFoldersAndIgnoresAStrangeHandle) {
  // A handle left behind by a crashed converter, naming a window of another program.
  HWND stranger = ::CreateWindowA("STATIC", "Some other program", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(nullptr, stranger);
  char handle[32];
  snprintf(handle, sizeof handle, "%lu", HandleToULong(stranger));
  qtest::WriteRegText(kHandles, kTransHandleValue, handle);

  const std::string folder = ProposedFolder();
  qtest::Program installer;
  // Started from the proposed folder itself.
  ASSERT_TRUE(installer.Start(qtest::BinPath(kInstallerFileName), "", folder));
  HWND page = qtest::WaitForPage(installer.Id(), 1013, kLongWait);
  ASSERT_NE(nullptr, page);
  MSG message;
  EXPECT_FALSE(::PeekMessageA(&message, stranger, WM_COMMAND, WM_COMMAND, PM_REMOVE))
      << "nothing is posted to a window that is not the converter's";
  EXPECT_TRUE(::IsWindow(stranger));
  HWND next = ::GetDlgItem(page, 1013);
  HWND box = ::GetDlgItem(page, 1008);

  qtest::Click(next);
  EXPECT_NE("", qtest::AnswerBox(kInstallTitle, "You can not install from the same directory that you are installing to."));

  std::string base = WindowsDrive() + ":\\qtest_long\\";
  std::string tooLong = base + std::string(237 - base.size(), 'a');
  ASSERT_EQ(237u, tooLong.size());
  qtest::SetText(box, tooLong);
  qtest::Click(next);
  EXPECT_NE("", qtest::AnswerBox(kInstallTitle, "The Path you Specified is to long."));

  // 236 characters pass the length check; the last level lies beyond what is
  // made level by level, so the folder itself is reported as not created.
  std::string longest = base + std::string(236 - base.size(), 'b');
  qtest::SetText(box, longest);
  qtest::Click(next);
  EXPECT_NE("", qtest::AnswerBox(kInstallTitle, "The Path to the Folder you Specified:\n" + longest + "\ncould not be created."));
  EXPECT_NE("", qtest::AnswerBox(kInstallTitle, "Permissions Problems"));

  qtest::SetText(box, "1:\\qtra");
  qtest::Click(next);
  EXPECT_NE("", qtest::AnswerBox(kInstallTitle, "The Folder you Specified:\n1:\\qtra\nis not a full path,"));

  EXPECT_EQ(folder, qtest::ReadRegText(kConfigure, kProgramDirValue)) << "nothing recorded for refused folders";
  qtest::Click(::GetDlgItem(page, 1012));
  EXPECT_NE("", qtest::AnswerBox(kInstallTitle, "Conditions Prevented Proper Installation."));
  EXPECT_TRUE(installer.WaitForExit(kLongWait));
  ExpectTheEightFiles(folder);
  ::DestroyWindow(stranger);
  qtest::DeleteFolderTree(WindowsDrive() + ":\\qtest_long");
}

TEST_F(InstallerFlow, RelayReportsAMissingUninstaller) {
  std::string folder = qtest::MakeTempFolder("no_uninstaller");
  std::string recorded = qtest::ReadRegText(kConfigure, kProgramDirValue);
  qtest::WriteRegText(kConfigure, kProgramDirValue, folder);
  qtest::Program relay;
  ASSERT_TRUE(relay.Start(qtest::BinPath(kInstallerFileName), "uninstall"));
  EXPECT_NE("", qtest::AnswerBox(kInstallTitle, "Source File:\n" + folder + "\\qtrasx.exe\nis missing!"));
  EXPECT_TRUE(relay.WaitForExit(kLongWait));
  qtest::WriteRegText(kConfigure, kProgramDirValue, recorded);
}

TEST_F(InstallerFlow, UninstallKeepsAFolderThatIsNotAnInstallation) {
  // "ThisProgramDir" naming a folder of the user's own: nothing there is deleted.
  std::string folder = qtest::MakeTempFolder("users_own");
  qtest::WriteFileBytes(folder + "\\letter.txt", "dear");
  std::string recorded = qtest::ReadRegText(kConfigure, kProgramDirValue);
  qtest::WriteRegText(kConfigure, kProgramDirValue, folder);
  qtest::Program uninstaller;
  ASSERT_TRUE(uninstaller.Start(qtest::BinPath(kInstallerFileName), kUninstallRelayArgument));
  EXPECT_NE("", qtest::AnswerBox("Quantara", "Do you really want to UnInstall Quantara?", IDYES));
  EXPECT_NE("", qtest::AnswerBox("Quantara", "that you are UnInstalling from:\n" + folder + "\ncan not be found."));
  EXPECT_TRUE(uninstaller.WaitForExit(kLongWait));
  EXPECT_EQ("dear", qtest::ReadFileBytes(folder + "\\letter.txt"));
  qtest::WriteRegText(kConfigure, kProgramDirValue, recorded);
}

// Starts the uninstaller as the system's list of programs does, through the relay.
void StartFromEntry(qtest::Program& relay) {
  std::string command = qtest::ReadRegText(kEntry, "UninstallString");
  size_t close = command.find('"', 1);
  ASSERT_EQ('"', command[0]) << command;
  ASSERT_NE(std::string::npos, close) << command;
  ASSERT_TRUE(relay.Start(command.substr(1, close - 1), command.substr(close + 2)));
  // The relay waits for its copy (holding the installer lock) and ends with it.
  ASSERT_TRUE(qtest::WaitUntil([] { return qtest::FileExists(qtest::SpecialFolder(CSIDL_LOCAL_APPDATA) + "\\TEMP\\qtra\\qtrasx.exe"); }, kLongWait));
}

void ExpectStillInstalled() {
  ExpectTheEightFiles(ProposedFolder());
  EXPECT_TRUE(qtest::FileExists(qtest::DesktopLink()));
  EXPECT_EQ(5u, qtest::FolderEntries(qtest::GroupFolder()).size());
  EXPECT_TRUE(qtest::RegKeyExists(kEntry));
  EXPECT_EQ(ProposedFolder(), qtest::ReadRegText(kConfigure, kProgramDirValue));
}

TEST_F(InstallerFlow, UninstallAsksTwiceThenRemovesEverything) {
  const std::string relayCopy = qtest::SpecialFolder(CSIDL_LOCAL_APPDATA) + "\\TEMP\\qtra\\qtrasx.exe";
  ::DeleteFileA(relayCopy.c_str());

  {
    qtest::Program relay;
    StartFromEntry(relay);
    EXPECT_TRUE(qtest::FileExists(relayCopy)) << "the relay copies the uninstaller out of the program folder";
    EXPECT_NE("", qtest::AnswerBox("Quantara", "Do you really want to UnInstall Quantara?", IDNO));
    HWND stillThere = qtest::WaitForWindow("Quantara UnInstalling", 0, 3000);
    if (stillThere != nullptr) qtest::WaitUntil([&] { return !::IsWindow(stillThere); }, kLongWait);
    EXPECT_TRUE(relay.WaitForExit(kLongWait));
    ExpectStillInstalled();
  }
  {
    qtest::Program relay;
    StartFromEntry(relay);
    EXPECT_NE("", qtest::AnswerBox("Quantara", "Do you really want to UnInstall Quantara?", IDYES));
    HWND page = qtest::WaitForWindow("Quantara UnInstall", 0, kLongWait);
    ASSERT_NE(nullptr, page);
    std::string text = qtest::GetText(::GetDlgItem(page, 1014));
    EXPECT_NE(std::string::npos, text.find("Doing this will remove folder:\n" + ProposedFolder())) << text;
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof thread;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(page, nullptr), &thread);
    EXPECT_EQ(::GetDlgItem(page, 1015), thread.hwndFocus) << "the focus starts on &Cancel";
    qtest::Click(::GetDlgItem(page, 1015));
    ASSERT_TRUE(qtest::WaitUntil([&] { return !::IsWindow(page); }, kLongWait));
    HWND backdrop = qtest::WaitForWindow("Quantara UnInstalling", 0, 2000);
    if (backdrop != nullptr) qtest::WaitUntil([&] { return !::IsWindow(backdrop); }, kLongWait);
    EXPECT_TRUE(relay.WaitForExit(kLongWait));
    ExpectStillInstalled();
  }
  {
    qtest::Program relay;
    StartFromEntry(relay);
    EXPECT_NE("", qtest::AnswerBox("Quantara", "Do you really want to UnInstall Quantara?", IDYES));
    HWND page = qtest::WaitForWindow("Quantara UnInstall", 0, kLongWait);
    ASSERT_NE(nullptr, page);
    qtest::Click(::GetDlgItem(page, 1016));
    EXPECT_NE("", qtest::AnswerBox("Quantara", "Quantara has been UnInstalled."));
    EXPECT_TRUE(relay.WaitForExit(kLongWait));
    EXPECT_EQ(0u, relay.ExitCode()) << "the copy's result, passed on";
  }
  EXPECT_FALSE(qtest::FileExists(ProposedFolder()));
  EXPECT_FALSE(qtest::FileExists(qtest::DesktopLink()));
  EXPECT_FALSE(qtest::FileExists(qtest::GroupFolder()));
  EXPECT_FALSE(qtest::RegKeyExists(kEntry));
  EXPECT_FALSE(qtest::RegKeyExists(qtest::kProductKey));
  EXPECT_FALSE(qtest::FileExists(relayCopy)) << "the relay deletes its copy once the copy has ended";
}

// A hurried user's clicks on Next, through the input queue: the page pumps
// messages while the files are written, and a double click then must not
// start the installation again.
TEST_F(InstallerFlow, ADoubleClickOnNextInstallsOnce) {
  qtest::Program installer;
  ASSERT_TRUE(installer.Start(qtest::BinPath(kInstallerFileName)));
  HWND page = qtest::WaitForPage(installer.Id(), 1013, kLongWait);
  ASSERT_NE(nullptr, page);
  ChooseLocalUser(page);
  const std::string folder = qtest::GetText(::GetDlgItem(page, 1008));
  HWND next = ::GetDlgItem(page, 1013);
  RECT box = {};
  ASSERT_TRUE(::GetWindowRect(next, &box));
  const POINT centre = {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
  HWND under = ::WindowFromPoint(centre);
  ASSERT_EQ(next, under) << "under the pointer: " << qtest::GetText(under) << "; " << qtest::DescribeWindows(0);
  // The first click, again should the display drop it while the page activates.
  HWND progress = ::GetDlgItem(page, 1011);
  const auto applying = [&] { return !::IsWindowEnabled(next) || !qtest::GetText(progress).empty(); };
  ASSERT_TRUE(qtest::WaitUntil([&] { return qtest::ClickAt(centre) && qtest::WaitUntil(applying, 1000, 10); },
                               kLongWait, 1));
  EXPECT_TRUE(qtest::ClickAt(centre, false, 2));
  ASSERT_TRUE(installer.WaitForExit(kLongWait));
  EXPECT_EQ(0u, installer.ExitCode());
  EXPECT_TRUE(ConverterGreetsAndCloses());
  qtest::ExpectInstalled(folder);
  EXPECT_EQ(0u, qtest::QuietUninstall());
  qtest::ExpectUninstalled(folder);
}

}  // namespace

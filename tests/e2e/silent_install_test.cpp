// The installer without a window, as package managers and administrators run
// it: "/S" with and without "/D=", an upgrade over a running converter, each
// failure's exit code and log line, and "UnInstall /S" through the uninstall
// entry, also while a program holds the folder. The cases run in order.
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <wincrypt.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/install_rules.h"
#include "common/product.h"
#include "converter/support/web_addresses.h"
#include "tests/harness/install_runs.h"
#include "tests/harness/test_support.h"

namespace {

const std::string kConfigure = qtest::ProductSubKey(kConfigureKey);
const std::string kHandles = qtest::ProductSubKey(kHandlesKey);
const std::string kEntry = qtest::kUninstallEntry;
const DWORD kLongWait = 60000;



std::string Folder() { return qtest::MakeTempFolder("silent") + "\\Unit Converter Files"; }

using qtest::ExpectInstalled;
using qtest::QuietUninstall;

DWORD Install(const std::string& arguments) { return qtest::InstallSilently(arguments); }

class SilentInstall : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ::CoInitialize(nullptr);
    qtest::ForgetInstallations();
  }
};

TEST_F(SilentInstall, FirstInstallIntoAFolderWithSpacesShowsNoWindowAndStartsNothing) {
  const std::string folder = Folder();
  EXPECT_EQ(0u, Install("/s /D=" + folder));
  ExpectInstalled(folder);
  EXPECT_TRUE(qtest::ReadFileBytes(folder + "\\QTRA.EXE") == qtest::ReadFileBytes(qtest::BinPath("qtra.exe")));
  EXPECT_EQ(nullptr, qtest::WaitForWindow(kMainTitlePrefix, 0, 1500, true)) << "the converter is not started";
  const std::string log = qtest::InstallerLog();
  EXPECT_NE(std::string::npos, log.find("Program folder: " + folder + "\r\n")) << log;
  EXPECT_NE(std::string::npos, log.find("Installed\r\n")) << log;
}

std::string Today() {  // the local date as YYYYMMDD
  SYSTEMTIME now = {};
  ::GetLocalTime(&now);
  char text[16];
  snprintf(text, sizeof text, "%04u%02u%02u", now.wYear, now.wMonth, now.wDay);
  return text;
}

TEST_F(SilentInstall, AFirstInstallWithoutFolderIsTheUsersOwnAndItsEntryNamesTheDayTheSupportPageAndTheVersion) {
  const std::string folder = qtest::ReadRegText(kConfigure, kProgramDirValue);
  ASSERT_NE("", folder);
  ASSERT_EQ(0u, QuietUninstall());
  const std::string perUser = qtest::SpecialFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Quantara";
  const std::string day = Today();
  ASSERT_EQ(0u, Install("/S"));
  ExpectInstalled(perUser);
  const std::string installDate = qtest::ReadRegText(kEntry, "InstallDate");
  EXPECT_TRUE(installDate == day || installDate == Today()) << installDate;  // midnight may fall between
  EXPECT_EQ(kFaqUrl, qtest::ReadRegText(kEntry, "HelpLink"));
  const struct {
    const char* name;
    DWORD value;
  } numbers[] = {{"Language", 0x0409}, {"VersionMajor", QTRA_VERSION_MAJOR}, {"VersionMinor", QTRA_VERSION_MINOR}};
  for (const auto& number : numbers) {
    std::string data;
    DWORD type = 0;
    EXPECT_TRUE(qtest::ReadRegValue(kEntry, number.name, &data, &type) && type == REG_DWORD) << number.name;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&number.value), sizeof(DWORD)), data) << number.name;
  }
  // Back where the later cases expect it; the per-user folder goes with the move.
  ASSERT_EQ(0u, Install("/S /D=" + folder));
  EXPECT_FALSE(qtest::FileExists(perUser));
}

// "Key: value" lines of a manifest the build filled in ("- " list marks and
// indentation dropped); the first value of each key.
std::string ManifestValue(const char* file, const std::string& key) {
  const std::string text = qtest::ReadFileBytes(qtest::BinPath("..\\winget\\") + file);
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at);
    at = end + 1;
    const size_t first = line.find_first_not_of(" -");
    if (first == std::string::npos || line[first] == '#') continue;
    line.erase(0, first);
    if (line.compare(0, key.size() + 1, key + ":") != 0) continue;
    const size_t value = line.find_first_not_of(' ', key.size() + 1);
    if (value == std::string::npos) return "(list)";
    std::string text = line.substr(value);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
    return text;
  }
  return "";
}

const ALG_ID kSha256 = 0x800c;  // CALG_SHA_256, which the Windows XP target does not declare

std::string Sha256OfFile(const std::string& path) {
  const std::string bytes = qtest::ReadFileBytes(path);
  HCRYPTPROV provider = 0;
  HCRYPTHASH hash = 0;
  BYTE digest[32] = {};
  DWORD size = sizeof digest;
  if (!::CryptAcquireContextA(&provider, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT)) return "";
  const bool done = ::CryptCreateHash(provider, kSha256, 0, 0, &hash) &&
                    ::CryptHashData(hash, reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()), 0) &&
                    ::CryptGetHashParam(hash, HP_HASHVAL, digest, &size, 0);
  if (hash != 0) ::CryptDestroyHash(hash);
  ::CryptReleaseContext(provider, 0);
  if (!done) return "";
  std::string text;
  for (BYTE b : digest) {
    text += "0123456789ABCDEF"[b >> 4];
    text += "0123456789ABCDEF"[b & 15];
  }
  return text;
}

TEST_F(SilentInstall, TheWingetManifestsHoldTheirFieldsAndMatchWhatTheInstallerWrites) {
  const char kVersionFile[] = "Marlowbrook.Quantara.yaml";
  const char kInstallerFile[] = "Marlowbrook.Quantara.installer.yaml";
  const char kLocaleFile[] = "Marlowbrook.Quantara.locale.en-US.yaml";
  // The fields winget requires in each manifest type.
  const struct {
    const char* file;
    const char* type;
    std::vector<const char*> required;
  } manifests[] = {
      {kVersionFile, "version", {"PackageIdentifier", "PackageVersion", "DefaultLocale", "ManifestVersion"}},
      {kInstallerFile, "installer",
       {"PackageIdentifier", "PackageVersion", "Installers", "Architecture", "InstallerType", "InstallerUrl",
        "InstallerSha256", "ManifestVersion"}},
      {kLocaleFile, "defaultLocale",
       {"PackageIdentifier", "PackageVersion", "PackageLocale", "Publisher", "PackageName", "License",
        "ShortDescription", "ManifestVersion"}},
  };
  for (const auto& manifest : manifests) {
    EXPECT_EQ(manifest.type, ManifestValue(manifest.file, "ManifestType")) << manifest.file;
    for (const char* field : manifest.required) EXPECT_NE("", ManifestValue(manifest.file, field)) << manifest.file << " " << field;
    EXPECT_EQ(kProductVersion, ManifestValue(manifest.file, "PackageVersion")) << manifest.file;
    EXPECT_EQ("Marlowbrook.Quantara", ManifestValue(manifest.file, "PackageIdentifier")) << manifest.file;
  }
  EXPECT_EQ(Sha256OfFile(qtest::BinPath("qtrasx.exe")), ManifestValue(kInstallerFile, "InstallerSha256"));
  const struct {
    const char* field;
    std::string expected;
  } installer[] = {
      {"InstallerType", "exe"},
      {"Scope", "user"},
      {"Silent", kSilentSwitch},
      {"InstallLocation", std::string(kFolderSwitch) + "<INSTALLPATH>"},
      {"UpgradeBehavior", "install"},
      // What the installer really registers.
      {"ProductCode", kEntry.substr(kEntry.rfind('\\') + 1)},
      {"DisplayName", qtest::ReadRegText(kEntry, "DisplayName")},
      {"Publisher", qtest::ReadRegText(kEntry, "Publisher")},
      {"DisplayVersion", qtest::ReadRegText(kEntry, "DisplayVersion")},
  };
  for (const auto& c : installer) {
    EXPECT_NE("", c.expected) << c.field;
    EXPECT_EQ(c.expected, ManifestValue(kInstallerFile, c.field)) << c.field;
  }
  EXPECT_EQ(qtest::ReadRegText(kEntry, "Publisher"), ManifestValue(kLocaleFile, "Publisher"));
  EXPECT_EQ(qtest::ReadRegText(kEntry, "DisplayName"), ManifestValue(kLocaleFile, "PackageName"));
  EXPECT_EQ(qtest::ReadRegText(kEntry, "URLInfoAbout"), ManifestValue(kLocaleFile, "PackageUrl"));
  EXPECT_EQ(QTRA_COPYRIGHT, ManifestValue(kLocaleFile, "Copyright"));
  EXPECT_EQ(qtest::ReadRegText(kEntry, "HelpLink"), ManifestValue(kLocaleFile, "PublisherSupportUrl"));
  // The entry names the newest installer; the manifest this version's own, beside it in a folder of its version.
  std::string versioned = qtest::ReadRegText(kEntry, "URLUpdateInfo");
  versioned.insert(versioned.rfind('/'), std::string("/") + kProductVersion);
  EXPECT_EQ(versioned, ManifestValue(kInstallerFile, "InstallerUrl"));
}

TEST_F(SilentInstall, UpgradeClosesTheRunningConverterAndKeepsTheFolder) {
  const std::string folder = qtest::ReadRegText(kConfigure, kProgramDirValue);
  qtest::Program converter;
  ASSERT_TRUE(converter.Start(folder + "\\QTRA.EXE", "", folder));
  ASSERT_NE(nullptr, qtest::WaitForWindow(kMainTitlePrefix, converter.Id(), kLongWait, true));
  qtest::WaitUntil([] { 
    const std::string handle = qtest::ReadRegText(kHandles, kTransHandleValue);
    return handle != "" && handle != "0";
  }, 5000);
  EXPECT_EQ(0u, Install("/S"));
  EXPECT_TRUE(converter.WaitForExit(5000)) << "closed through its command";
  ExpectInstalled(folder);
}

// A window of the test's own with the converter's mark, which does not
// answer the closing command: a converter that stays open.
HWND MakeStubbornConverter() {
  HWND window = ::CreateWindowExA(0, "STATIC", kMainTitlePrefix, WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
  ::SetPropA(window, kConverterWindowMark, reinterpret_cast<HANDLE>(1));
  return window;
}


TEST_F(SilentInstall, EachFailureHasItsExitCodeAndLogLine) {
  const std::string folder = qtest::ReadRegText(kConfigure, kProgramDirValue);
  const std::string blocker = qtest::MakeTempFolder("silent_blocker") + "\\a file";
  qtest::WriteFileBytes(blocker, "x");
  const std::string readMe = folder + "\\README.TXT";
  const struct {
    const char* name;
    std::string arguments;
    InstallerExitCode code;
    const char* logLine;
  } cases[] = {
      {"unknown switch", "/S /VERYSILENT", kExitBadArgument, "Failed (exit code 2): unknown or misplaced switch"},
      {"uncreatable folder", "/S /D=" + blocker + "\\sub", kExitFolderNotCreatable, "Failed (exit code 3): the folder could not be created"},
      {"drive root", "/S /D=C:\\", kExitFolderNotCreatable, "Failed (exit code 3): the folder is the root of a drive"},
      {"relative folder", "/S /D=qtrarel", kExitFolderNotCreatable, "Failed (exit code 3): the folder is not a full path"},
      {"network folder", "/S /D=\\\\server\\share\\q", kExitFolderNotCreatable, "(exit code 3): the folder is a network folder"},
      {"folder switch first", "/D=C:\\x /S", kExitBadArgument, "Failed (exit code 2): unknown or misplaced switch: /S"},
      {"switch after the folder", "/S /D=C:\\qtra /S", kExitBadArgument, "misplaced switch: /S"},
      {"converter stays open", "/S", kExitConverterStillOpen, "Failed (exit code 5): the running converter did not close"},
      {"read-only file", "/S", kExitFileNotWritable, "Failed (exit code 4): a file of the program could not be written"},
  };
  for (const auto& c : cases) {
    HWND stubborn = nullptr;
    if (c.code == kExitConverterStillOpen) {
      stubborn = MakeStubbornConverter();
      ASSERT_NE(nullptr, stubborn);
      qtest::WriteRegText(kHandles, kTransHandleValue, std::to_string(reinterpret_cast<UINT_PTR>(stubborn)));
    }
    if (c.code == kExitFileNotWritable) {
      if (!qtest::ReadOnlyIsHonoured(folder)) {
        EXPECT_FALSE(qtest::RunsAsOrdinaryUser()) << "read-only files are written over under the ordinary account";
        fprintf(stderr, "read-only case skipped: this account writes over read-only files (Wine as root)\n");
        continue;
      }
      ::SetFileAttributesA(readMe.c_str(), FILE_ATTRIBUTE_READONLY);
    }
    EXPECT_EQ(static_cast<DWORD>(c.code), Install(c.arguments)) << c.name;
    const std::string log = qtest::InstallerLog();
    EXPECT_NE(std::string::npos, log.find(c.logLine)) << c.name << ":\n" << log;
    if (stubborn != nullptr) ::DestroyWindow(stubborn);
    ::SetFileAttributesA(readMe.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  qtest::DeleteRegValue(kHandles, kTransHandleValue);
  ExpectInstalled(folder);
}

// The test itself holds the folder as its working folder, as a command
// prompt opened there would; `file` (when not empty) is kept open too.
class FolderHolder {
 public:
  FolderHolder(const std::string& folder, const std::string& file) {
    ::GetCurrentDirectoryA(sizeof m_saved, m_saved);
    ::SetCurrentDirectoryA(folder.c_str());
    if (!file.empty()) {
      m_file = ::CreateFileA((folder + "\\" + file).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             0, nullptr);
    }
  }
  ~FolderHolder() { Release(); }
  void Release() {
    if (m_file != INVALID_HANDLE_VALUE) ::CloseHandle(m_file);
    m_file = INVALID_HANDLE_VALUE;
    ::SetCurrentDirectoryA(m_saved);
  }

 private:
  char m_saved[MAX_PATH + 1] = {};
  HANDLE m_file = INVALID_HANDLE_VALUE;
};

TEST_F(SilentInstall, UninstallOfAHeldFolderSaysSoThenCompletesOnceFreed) {
  const std::string folder = qtest::ReadRegText(kConfigure, kProgramDirValue);
  ASSERT_NE("", folder);
  {
    // Files remain (the uninstaller itself): the entry stays, naming it.
    FolderHolder holder(folder, "qtrasx.exe");
    qtest::Program relay;
    const std::string command = qtest::ReadRegText(kEntry, "UninstallString");
    ASSERT_TRUE(relay.Start(folder + "\\qtrasx.exe", "UnInstall"));
    EXPECT_NE("", qtest::AnswerBox("Quantara", "Do you really want to UnInstall Quantara?", IDYES));
    HWND page = qtest::WaitForWindow("Quantara UnInstall", 0, kLongWait);
    ASSERT_NE(nullptr, page);
    qtest::Click(::GetDlgItem(page, 1016));
    const std::string text = qtest::AnswerBox("Quantara", "could not be fully UnInstalled");
    EXPECT_NE(std::string::npos, text.find(folder + "\nstill holds:\nqtrasx.exe")) << text;
    EXPECT_NE(std::string::npos, text.find("delete the folder by hand, or run the UnInstall again.")) << text;
    EXPECT_EQ(command, qtest::ReadRegText(kEntry, "UninstallString"));
    EXPECT_TRUE(qtest::FileExists(folder + "\\qtrasx.exe"));
    EXPECT_FALSE(qtest::FileExists(folder + "\\QTRA.EXE"));
    EXPECT_FALSE(qtest::FileExists(qtest::DesktopLink()));
  }
  // Freed, the uninstall through the entry's quiet command completes.
  EXPECT_EQ(0u, QuietUninstall());
  qtest::ExpectUninstalled(folder);
  EXPECT_FALSE(qtest::FileExists(folder));

  // Only the working folder held: the files, the entry and the settings go,
  // the empty folder stays and the exit code says so.
  EXPECT_EQ(0u, Install("/S /D=" + folder));
  ExpectInstalled(folder);
  {
    FolderHolder holder(folder, "");
    EXPECT_EQ(static_cast<DWORD>(kExitFolderNotRemoved), QuietUninstall());
    qtest::ExpectUninstalled(folder);
    EXPECT_TRUE(qtest::FileExists(folder));
    const std::string log = qtest::InstallerLog();
    EXPECT_NE(std::string::npos, log.find("Only its empty folder remains: " + folder)) << log;
    EXPECT_NE(std::string::npos, log.find("Failed (exit code 6): the folder could not be fully removed")) << log;
  }
  ::RemoveDirectoryA(folder.c_str());
}

// Libraries lie in a download folder beside the installer, in the program
// folder beside the converter and the uninstaller, and beside the uninstaller's
// temporary copy: none is loaded.
TEST_F(SilentInstall, NoLibraryBesideAProgramOfOursIsLoaded) {
  const std::string downloads = qtest::MakeTempFolder("downloads");
  const std::string installer = downloads + "\\" + kInstallerFileName;
  ASSERT_TRUE(::CopyFileA(qtest::BinPath(kInstallerFileName).c_str(), installer.c_str(), FALSE));
  const std::string copyFolder = qtest::SpecialFolder(CSIDL_LOCAL_APPDATA) + "\\TEMP\\qtra";
  const std::string folder = Folder();
  for (const std::string& place : {downloads, copyFolder}) qtest::PlantLibraries(place);
  ::DeleteFileA(qtest::PlantedLibraryMarker().c_str());

  ASSERT_EQ(0u, qtest::RunSilently(installer, "/S /D=" + folder));
  qtest::PlantLibraries(folder);
  {
    qtest::Program converter;
    ASSERT_TRUE(converter.Start(folder + "\\QTRA.EXE"));
    HWND main = qtest::WaitForWindow(kMainTitlePrefix, converter.Id(), kLongWait, true);
    ASSERT_NE(nullptr, main);
    ::PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(converter.WaitForExit(kLongWait));
  }
  EXPECT_EQ(static_cast<DWORD>(kExitFolderNotRemoved), QuietUninstall()) << "the planted files stay";
  qtest::ExpectUninstalled(folder);
  EXPECT_EQ("", qtest::PlantedLibrariesLoaded());
  EXPECT_FALSE(qtest::FileExists(copyFolder + "\\" + kInstallerFileName)) << "the relay deletes the ended copy";

  // What the uninstall could not delete while it ran goes with the next run.
  EXPECT_EQ(static_cast<DWORD>(kExitNotInstalled), qtest::RunSilently(installer, "UnInstall /S"));
  for (const char* name : {kInstallerFileName, "qtrasx.old"}) {
    EXPECT_FALSE(qtest::FileExists(copyFolder + "\\" + name)) << name;
  }
  for (const std::string& place : {downloads, copyFolder, folder}) qtest::RemovePlantedLibraries(place);
  qtest::DeleteFolderTree(folder);
  qtest::DeleteFolderTree(downloads);
}

// Others keep files and folders in the per-user and the all-users group; an
// earlier installation left a link in the all-users one, which the
// installation replaces.
TEST_F(SilentInstall, OthersFilesInBothGroupsOutliveAnInstallationAndAnUninstall) {
  const std::string groups[] = {qtest::GroupFolder(), qtest::SpecialFolder(CSIDL_COMMON_PROGRAMS) + "\\Quantara"};
  for (const std::string& group : groups) {
    ::CreateDirectoryA(group.c_str(), nullptr);
    ::CreateDirectoryA((group + "\\Kept").c_str(), nullptr);
    qtest::WriteFileBytes(group + "\\My notes.txt", "mine");
    qtest::WriteFileBytes(group + "\\Kept\\Old.lnk", "kept");
    qtest::WriteFileBytes(group + "\\Quantara.lnk", "an earlier installation's");
  }
  ASSERT_EQ(0u, Install("/S /D=" + Folder()));
  EXPECT_FALSE(qtest::FileExists(groups[1] + "\\Quantara.lnk"));
  ASSERT_EQ(0u, QuietUninstall());
  for (const std::string& group : groups) {
    EXPECT_EQ(std::vector<std::string>({"Kept", "My notes.txt"}), qtest::FolderEntries(group)) << group;
    EXPECT_TRUE(qtest::FileExists(group + "\\Kept\\Old.lnk"));
    qtest::DeleteFolderTree(group);
  }
}

}  // namespace

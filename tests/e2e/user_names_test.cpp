// A user whose name the code page for non-Unicode programs lacks, as the two
// programs meet one: tests/e2e/user_prefix runs this program once for each row
// of the table, in a Wine prefix whose profile is named after that row's user
// and whose code page is Windows-1252. This program runs in UTF-8, as the
// programs do; what must keep the user's letters is read with wide functions.
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

#include "common/product.h"
#include "common/text_encoding.h"
#include "converter/engine/catalogue.h"
#include "tests/harness/keystroke_texts.h"
#include "tests/harness/test_support.h"

namespace {

struct UserCase {
  const char* user;
  const char* folder;  // named with the user's letters, for "/D="
};
const UserCase kUsers[] = {
    {"Иван", "C:\\Программы\\Конвертер единиц"},
    {"張偉", "C:\\程式\\單位換算"},
};

const std::string kConfigure = qtest::ProductSubKey(kConfigureKey);
const std::string kEntry = qtest::kUninstallEntry;
const DWORD kLongWait = 60000;

DWORD RunToEnd(const std::string& arguments) {
  qtest::Program run;
  if (!run.Start(qtest::BinPath(kInstallerFileName), arguments)) return 0xFFFFFFFF;
  return run.WaitForExit(kLongWait) ? run.ExitCode() : 0xFFFFFFFE;
}

// Starts an uninstall command of the entry as Windows does.
void StartFromEntry(const char* value, qtest::Program* run) {
  const std::string command = qtest::ReadRegText(kEntry, value);
  const size_t close = command.find('"', 1);
  ASSERT_TRUE(command[0] == '"' && close != std::string::npos) << command;
  ASSERT_TRUE(run->Start(command.substr(1, close - 1), command.substr(close + 2)));
}

void ExpectInstalledIn(const std::string& folder) {
  for (const char* name : qtest::kInstalledFiles) EXPECT_TRUE(qtest::FileExists(folder + "\\" + name)) << name;
  EXPECT_EQ(folder, qtest::ReadRegTextWide(kConfigure, kProgramDirValue));
  EXPECT_EQ("\"" + folder + "\\qtrasx.exe\" UnInstall", qtest::ReadRegTextWide(kEntry, "UninstallString"));
  EXPECT_TRUE(qtest::FileExists(qtest::DesktopLink()));
  EXPECT_EQ(5u, qtest::FolderEntries(qtest::GroupFolder()).size());
}

void ExpectRemovedFrom(const std::string& folder) {
  EXPECT_FALSE(qtest::FileExists(folder));
  EXPECT_FALSE(qtest::FileExists(qtest::DesktopLink()));
  EXPECT_FALSE(qtest::FileExists(qtest::GroupFolder()));
  EXPECT_FALSE(qtest::RegKeyExists(kEntry));
}

void UninstallQuietly(const std::string& folder) {
  qtest::Program run;
  StartFromEntry("QuietUninstallString", &run);
  ASSERT_TRUE(run.WaitForExit(kLongWait));
  EXPECT_EQ(0u, run.ExitCode());
  EXPECT_TRUE(qtest::FileExists(qtest::SpecialFolder(CSIDL_LOCAL_APPDATA) + "\\TEMP\\qtra\\qtrasx.exe"));
  ExpectRemovedFrom(folder);
}

// How the fake browser was started (command line, folder), once it has run.
std::string BrowserStart(int command, HWND main) {
  const std::string log = qtest::BinPath("fake_browser.log");
  ::DeleteFileA(log.c_str());
  qtest::PostCommand(main, command);
  qtest::WaitUntil([&] { return qtest::FileExists(log); });
  return qtest::ReadFileBytes(log);
}

class UserNames : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ::CoInitialize(nullptr);
    // The fake browser, for web addresses and pages, records how it was started.
    const std::string browser = "\"" + qtest::BinPath("fake_browser.exe") + "\"";
    qtest::WriteRegText("Software\\Classes\\http\\shell\\open\\command", "", browser + " %1");
    const auto setClass = [](const char* path, const std::string& text) {
      HKEY key = nullptr;
      ::RegCreateKeyExA(HKEY_CLASSES_ROOT, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
      ::RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), text.size() + 1);
      ::RegCloseKey(key);
    };
    setClass(".htm", "QtraTest.Page");
    setClass("QtraTest.Page\\shell\\open\\command", browser + " \"%1\"");
  }
  void SetUp() override {
    const std::string profile = qtest::SpecialFolder(CSIDL_PROFILE);
    for (const UserCase& row : kUsers) {
      if (profile == std::string("C:\\users\\") + row.user) m_case = &row;
    }
    ASSERT_NE(nullptr, m_case) << "runs in the prefix of a user of its table, not in " << profile;
  }
  const UserCase* m_case = nullptr;
};

TEST_F(UserNames, SilentInstallPutsLinksAndLogIntoTheProfileAndTheQuietUninstallRemovesIt) {
  EXPECT_EQ(0u, RunToEnd("/S"));
  const std::string folder = qtest::ReadRegTextWide(kConfigure, kProgramDirValue);  // the folder it proposes
  ASSERT_NE("", folder);
  ExpectInstalledIn(folder);
  char temporary[MAX_PATH * 3] = {};
  ::GetTempPathA(sizeof temporary, temporary);
  const std::string log = qtest::ReadFileBytes(std::string(temporary) + kInstallerLogFileName);
  EXPECT_EQ(0u, log.find("\xEF\xBB\xBF")) << "marked as UTF-8";
  EXPECT_NE(std::string::npos, log.find("Installed\r\n")) << log;
  UninstallQuietly(folder);
}

TEST_F(UserNames, ForThisUserOnlyThenTheConverterItsHelpAndFormAndTheUninstall) {
  const std::string folder = qtest::SpecialFolder(CSIDL_LOCAL_APPDATA) + "\\Marlowbrook\\qtra";
  qtest::Program installer;
  ASSERT_TRUE(installer.Start(qtest::BinPath(kInstallerFileName)));
  HWND page = qtest::WaitForPage(installer.Id(), 1013, kLongWait);
  ASSERT_NE(nullptr, page);
  qtest::Click(::GetDlgItem(page, 1002));  // "Local user"
  EXPECT_TRUE(qtest::WaitUntil([&] { return qtest::GetText(::GetDlgItem(page, 1008)) == folder; }));
  qtest::Click(::GetDlgItem(page, 1013));
  ASSERT_TRUE(installer.WaitForExit(kLongWait));
  ExpectInstalledIn(folder);

  // The converter greets with its first-run notice, then shows its window.
  HWND notice = qtest::WaitForWindow("Quantara", 0, kLongWait);
  ASSERT_NE(nullptr, notice);
  qtest::PostCommand(notice, IDOK);
  HWND main = qtest::WaitForWindow(kMainTitle, 0, kLongWait);
  ASSERT_NE(nullptr, main);
  const int inches = CategoryAt(kCategoryLength)->firstEditId;
  ASSERT_TRUE(qtest::SetText(qtest::FindControl(main, inches), "12"));
  EXPECT_EQ(qtest::TypedTexts(kCategoryLength, 0, "12", {kNotationFloat, 6, 1})[1],
            qtest::GetText(qtest::FindControl(main, inches + 1)));
  ASSERT_TRUE(qtest::SetText(qtest::FindControl(main, inches + 2), m_case->user));
  EXPECT_EQ(CategoryAt(kCategoryArea)->title, qtest::GetText(qtest::FindControl(main, 1058)));

  char url[2048];
  ASSERT_TRUE(FileUrlOf((folder + "\\qtrahelp.htm").c_str(), url, sizeof url));
  const std::string help = BrowserStart(32775, main);
  EXPECT_NE(std::string::npos, help.find(std::string(" ") + url + "\n" + folder + "\n")) << help;
  const std::string form = BrowserStart(32780, main);
  EXPECT_NE(std::string::npos, form.find(" \"" + folder + "\\email_ts.htm\"\n")) << form;
  const std::string text = qtest::ReadFileBytes(folder + "\\email_ts.htm");
  EXPECT_NE(std::string::npos, text.find("charset=utf-8"));
  EXPECT_NE(std::string::npos, text.find("name=\"FromName\" size=\"50\" value=\"" + std::string(m_case->user) + "\""));

  ::PostMessageA(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(qtest::WaitUntil([&] { return !::IsWindow(main); }, kLongWait));
  EXPECT_EQ(m_case->user, qtest::ReadRegTextWide(kConfigure, "LengthYards")) << "the typed text, stored whole";

  qtest::Program relay;
  StartFromEntry("UninstallString", &relay);
  EXPECT_NE("", qtest::AnswerBox("Quantara", "Do you really want to UnInstall Quantara?", IDYES));
  page = qtest::WaitForWindow("Quantara UnInstall", 0, kLongWait);
  ASSERT_NE(nullptr, page);
  EXPECT_NE(std::string::npos, qtest::GetText(::GetDlgItem(page, 1014)).find("remove folder:\n" + folder + "\n"));
  qtest::Click(::GetDlgItem(page, 1016));
  EXPECT_NE("", qtest::AnswerBox("Quantara", "Quantara has been UnInstalled."));
  ExpectRemovedFrom(folder);
}

TEST_F(UserNames, SilentInstallIntoAFolderNamedWithTheUsersLetters) {
  EXPECT_EQ(0u, RunToEnd(std::string("/S /D=") + m_case->folder));
  ExpectInstalledIn(m_case->folder);
  UninstallQuietly(m_case->folder);
}

}  // namespace

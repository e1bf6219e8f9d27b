// A user whose name the code page for non-Unicode programs lacks, as the two
// programs meet one: tests/e2e/user_prefix runs this program once for each row
// of the table, in a Wine prefix whose profile is named after that row's user
// and whose code page is Windows-1252. This program runs in UTF-8, as the
// programs do; the recorded folder and a typed text are read with the wide function.
#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "common/product.h"
#include "common/text_encoding.h"
#include "converter/engine/catalogue.h"
#include "tests/harness/keystroke_texts.h"
#include "tests/harness/test_support.h"

namespace {

struct UserCase {
  const char* user;
  const char* folder;  // named with the user's letters, for "/D="
} const kUsers[] = {
    {"Иван", "C:\\Программы\\Конвертер единиц"},
    {"張偉", "C:\\程式\\單位換算"},
};

const std::string kConfigure = qtest::ProductSubKey(kConfigureKey);
const std::string kEntry = qtest::kUninstallEntry;
const DWORD kLongWait = 60000;

// Runs the installer, or an uninstall command of the entry as Windows does; its exit code.
DWORD RunInstaller(const std::string& arguments, const char* entryValue = nullptr) {
  std::string program = qtest::BinPath(kInstallerFileName);
  std::string line = arguments;
  if (entryValue != nullptr) {
    const std::string command = qtest::ReadRegText(kEntry, entryValue);
    const size_t close = command.find('"', 1);
    program = command.substr(1, close - 1);
    line = close < command.size() ? command.substr(close + 2) : "";
  }
  qtest::Program run;
  if (!run.Start(program, line)) return 0xFFFFFFFF;
  return run.WaitForExit(kLongWait) ? run.ExitCode() : 0xFFFFFFFE;
}

void ExpectInstalledIn(const std::string& folder, bool installed = true) {
  for (const char* name : qtest::kInstalledFiles) EXPECT_EQ(installed, qtest::FileExists(folder + "\\" + name)) << name;
  EXPECT_EQ(installed, qtest::FileExists(qtest::DesktopLink()));
  EXPECT_EQ(installed ? 5u : 0u, qtest::FolderEntries(qtest::GroupFolder()).size());
  EXPECT_EQ(installed ? "\"" + folder + "\\qtrasx.exe\" UnInstall" : "", qtest::ReadRegText(kEntry, "UninstallString"));
}

// How the fake browser was started (command line, folder) by a menu command.
std::string BrowserStart(HWND main, int command) {
  const std::string log = qtest::BinPath("fake_browser.log");
  ::DeleteFileA(log.c_str());
  qtest::PostCommand(main, command);
  qtest::WaitUntil([&] { return qtest::FileExists(log); });
  return qtest::ReadFileBytes(log);
}

class UserNames : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const UserCase& row : kUsers) {
      if (qtest::SpecialFolder(CSIDL_PROFILE) == std::string("C:\\users\\") + row.user) m_case = &row;
    }
    ASSERT_NE(nullptr, m_case) << "runs in the prefix of a user of its table";
  }
  const UserCase* m_case = nullptr;
};

TEST_F(UserNames, SilentInstallIntoTheProposedAndANamedFolderAndTheQuietUninstall) {
  for (const std::string requested : {"", m_case->folder}) {
    EXPECT_EQ(0u, RunInstaller(requested.empty() ? "/S" : "/S /D=" + requested));
    const std::string folder = qtest::ReadRegTextWide(kConfigure, kProgramDirValue);
    if (!requested.empty()) {
      EXPECT_EQ(requested, folder);
    }
    ExpectInstalledIn(folder);
    char temporary[3 * MAX_PATH] = {};
    ::GetTempPathA(sizeof temporary, temporary);  // %TEMP%, where the read-me says
    const std::string log = qtest::ReadFileBytes(temporary + std::string(kInstallerLogFileName));
    EXPECT_EQ(0u, log.find("\xEF\xBB\xBF")) << "marked as UTF-8";
    EXPECT_NE(std::string::npos, log.find("Installed\r\n")) << log;
    EXPECT_EQ(0u, RunInstaller("", "QuietUninstallString"));
    ExpectInstalledIn(folder, false);
    // The copy ran from the user's own folder and went once it had ended.
    EXPECT_FALSE(qtest::FileExists(qtest::SpecialFolder(CSIDL_LOCAL_APPDATA) + "\\TEMP\\qtra\\qtrasx.exe"));
  }
}

TEST_F(UserNames, ForThisUserOnlyThenTheConverterItsHelpAndFormAndTheUninstall) {
  const std::string browser = "\"" + qtest::BinPath("fake_browser.exe") + "\"";
  qtest::WriteRegText("Software\\Classes\\http\\shell\\open\\command", "", browser + " %1");
  // Pages open through the classes root (Wine's shell reads no per-user classes); the prefix is this test's own.
  for (const auto& entry : {std::make_pair(".htm", std::string("QtraTest.Page")),
                            std::make_pair("QtraTest.Page\\shell\\open\\command", browser + " \"%1\"")}) {
    HKEY key = nullptr;
    ::RegCreateKeyExA(HKEY_CLASSES_ROOT, entry.first, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    ::RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(entry.second.c_str()),
                     static_cast<DWORD>(entry.second.size() + 1));
    ::RegCloseKey(key);
  }
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

  HWND notice = qtest::WaitForWindow("Quantara", 0, kLongWait);  // the first-run notice
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
  const std::string help = BrowserStart(main, 32775);
  EXPECT_NE(std::string::npos, help.find(std::string(" ") + url + "\n" + folder + "\n")) << help;
  const std::string form = BrowserStart(main, 32780);
  EXPECT_NE(std::string::npos, form.find(" \"" + folder + "\\email_ts.htm\"\n")) << form;
  const std::string written = qtest::ReadFileBytes(folder + "\\email_ts.htm");
  EXPECT_NE(std::string::npos, written.find("charset=utf-8"));
  EXPECT_NE(std::string::npos, written.find("name=\"FromName\" size=\"50\" value=\"\""));

  ::PostMessageA(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(qtest::WaitUntil([&] { return !::IsWindow(main); }, kLongWait));
  EXPECT_EQ(m_case->user, qtest::ReadRegTextWide(kConfigure, "LengthYards")) << "the typed text, stored whole";

  RunInstaller("", "UninstallString");  // the relay ends once its copy runs
  EXPECT_NE("", qtest::AnswerBox("Quantara", "Do you really want to UnInstall Quantara?", IDYES));
  HWND confirm = qtest::WaitForWindow("Quantara UnInstall", 0, kLongWait);
  ASSERT_NE(nullptr, confirm);
  EXPECT_NE(std::string::npos, qtest::GetText(::GetDlgItem(confirm, 1014)).find("remove folder:\n" + folder + "\n"));
  qtest::Click(::GetDlgItem(confirm, 1016));
  EXPECT_NE("", qtest::AnswerBox("Quantara", "Quantara has been UnInstalled."));
  ExpectInstalledIn(folder, false);
}

}  // namespace

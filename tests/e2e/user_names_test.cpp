// A user whose name the code page for non-Unicode programs lacks, as the two
// programs meet one: tests/e2e/user_prefix runs this program once for each row
// of the table, in a Wine prefix whose profile is named after that row's user
// and whose code page is Windows-1252. Silent and interactive installation,
// the converter with its Help and support form, and both uninstalls; whatever
// carries the user's letters is read back with the wide functions.
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
  const wchar_t* user;
  const wchar_t* folder;  // named with the user's letters, for "/D="
};
const UserCase kUsers[] = {
    {L"Иван", L"C:\\Программы\\Конвертер единиц"},
    {L"張偉", L"C:\\程式\\單位換算"},
};

const std::string kConfigure = qtest::ProductSubKey(kConfigureKey);
const std::string kEntry = qtest::kUninstallEntry;
const DWORD kLongWait = 60000;

// The row of this prefix's user, or null.
const UserCase* ThisUser() {
  for (const UserCase& row : kUsers) {
    if (qtest::UserNameW() == row.user) return &row;
  }
  return nullptr;
}

std::wstring Installer() { return qtest::Wide(qtest::BinPath(kInstallerFileName)); }
std::wstring DesktopLink() { return qtest::SpecialFolderW(CSIDL_DESKTOP) + L"\\Quantara.lnk"; }
std::wstring Group() { return qtest::SpecialFolderW(CSIDL_PROGRAMS) + L"\\Quantara"; }

DWORD RunToEnd(const std::wstring& program, const std::wstring& arguments) {
  qtest::Program run;
  if (!run.Start(program, arguments)) return 0xFFFFFFFF;
  return run.WaitForExit(kLongWait) ? run.ExitCode() : 0xFFFFFFFE;
}

// An uninstall command of the entry ("UninstallString", "QuietUninstallString"), started as Windows does.
bool StartFromEntry(const wchar_t* value, qtest::Program* run) {
  const std::wstring command = qtest::ReadRegTextW(kEntry, value);
  const size_t close = command.find(L'"', 1);
  if (command.empty() || command[0] != L'"' || close == std::wstring::npos) {
    ADD_FAILURE() << qtest::Utf8(command);
    return false;
  }
  return run->Start(command.substr(1, close - 1), command.substr(close + 2));
}

void ExpectInstalledIn(const std::wstring& folder) {
  for (const char* name : qtest::kInstalledFiles) {
    EXPECT_TRUE(qtest::FileExists(folder + L"\\" + qtest::Wide(name))) << name;
  }
  EXPECT_EQ(folder, qtest::ReadRegTextW(kConfigure, L"ThisProgramDir"));
  EXPECT_EQ(folder, qtest::ReadRegTextW(kEntry, L"InstallLocation"));
  EXPECT_EQ(L"\"" + folder + L"\\qtrasx.exe\" UnInstall", qtest::ReadRegTextW(kEntry, L"UninstallString"));
  EXPECT_TRUE(qtest::FileExists(DesktopLink()));
  EXPECT_EQ(5u, qtest::FolderEntries(Group()).size());
}

void ExpectRemovedFrom(const std::wstring& folder) {
  EXPECT_FALSE(qtest::FileExists(folder));
  EXPECT_FALSE(qtest::FileExists(DesktopLink()));
  EXPECT_FALSE(qtest::FileExists(Group()));
  EXPECT_FALSE(qtest::RegKeyExists(kEntry));
}

// Runs the quiet uninstall as a package manager does, to its end.
void UninstallQuietly(const std::wstring& folder) {
  qtest::Program run;
  ASSERT_TRUE(StartFromEntry(L"QuietUninstallString", &run));
  ASSERT_TRUE(run.WaitForExit(kLongWait));
  EXPECT_EQ(0u, run.ExitCode());
  EXPECT_TRUE(qtest::FileExists(qtest::SpecialFolderW(CSIDL_LOCAL_APPDATA) + L"\\TEMP\\qtra\\qtrasx.exe"))
      << "the relay's copy lies in the profile";
  ExpectRemovedFrom(folder);
}

// The fake browser's record of its start (command line, folder), once it has run.
std::string BrowserLog() {
  const std::string log = qtest::BinPath("fake_browser.log");
  qtest::WaitUntil([&] { return qtest::FileExists(log); });
  return qtest::ReadFileBytes(log);
}

// The default value of a key of the classes root (this prefix is the test's own).
void SetClassDefault(const char* path, const std::string& text) {
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CLASSES_ROOT, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                             nullptr));
  ::RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
  ::RegCloseKey(key);
}

class UserNames : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ::CoInitialize(nullptr);
    qtest::DeleteRegTree(qtest::kProductKey);
    qtest::DeleteRegTree(kEntry);
    // The fake browser opens web addresses and pages; it records how it was started.
    const std::string browser = "\"" + qtest::BinPath("fake_browser.exe") + "\"";
    qtest::WriteRegText("Software\\Classes\\http\\shell\\open\\command", "", browser + " %1");
    SetClassDefault(".htm", "QtraTest.Page");
    SetClassDefault("QtraTest.Page\\shell\\open\\command", browser + " \"%1\"");
  }
  void SetUp() override {
    m_case = ThisUser();
    ASSERT_NE(nullptr, m_case) << "runs in a prefix of a user of its table, not " << qtest::Utf8(qtest::UserNameW());
    ASSERT_EQ(1252u, ::GetACP()) << "the code page for non-Unicode programs lacks the user's letters";
    const std::wstring profile = qtest::SpecialFolderW(CSIDL_PROFILE);
    ASSERT_EQ(std::wstring(L"\\") + m_case->user, profile.substr(profile.rfind(L'\\'))) << qtest::Utf8(profile);
  }
  const UserCase* m_case = nullptr;
};

TEST_F(UserNames, SilentInstallPutsLinksAndLogIntoTheProfileAndTheQuietUninstallRemovesIt) {
  const std::wstring folder = L"C:\\qtra";
  EXPECT_EQ(0u, RunToEnd(Installer(), L"/S"));
  ExpectInstalledIn(folder);
  wchar_t temporary[MAX_PATH] = {};
  ::GetEnvironmentVariableW(L"TEMP", temporary, MAX_PATH);
  const std::string log = qtest::ReadFileBytes(std::wstring(temporary) + L"\\qtrasx.log");
  EXPECT_EQ(0u, log.find("\xEF\xBB\xBF")) << "the log is marked as UTF-8";
  EXPECT_NE(std::string::npos, log.find("Installed\r\n")) << log;
  UninstallQuietly(folder);
}

TEST_F(UserNames, ForThisUserOnlyThenTheConverterItsHelpAndFormAndTheUninstall) {
  const std::wstring folder = qtest::SpecialFolderW(CSIDL_LOCAL_APPDATA) + L"\\Marlowbrook\\qtra";
  {
    qtest::Program installer;
    ASSERT_TRUE(installer.Start(Installer(), L""));
    HWND page = qtest::WaitForPage(installer.Id(), 1013, kLongWait);
    ASSERT_NE(nullptr, page);
    qtest::Click(::GetDlgItem(page, 1002));  // "Local user"
    EXPECT_TRUE(qtest::WaitUntil([&] { return qtest::GetTextW(::GetDlgItem(page, 1008)) == folder; }))
        << qtest::Utf8(qtest::GetTextW(::GetDlgItem(page, 1008)));
    qtest::Click(::GetDlgItem(page, 1013));
    ASSERT_TRUE(installer.WaitForExit(kLongWait));
  }
  ExpectInstalledIn(folder);

  // The converter the installer started greets, then shows its window.
  HWND notice = qtest::WaitForWindow("Quantara", 0, kLongWait);
  ASSERT_NE(nullptr, notice);
  EXPECT_NE(nullptr, ::GetDlgItem(notice, 1308)) << "the first-run notice";
  qtest::PostCommand(notice, IDOK);
  HWND main = qtest::WaitForWindow(kMainTitle, 0, kLongWait);
  ASSERT_NE(nullptr, main);
  const CategoryInfo& length = *CategoryAt(kCategoryLength);
  HWND inches = qtest::FindControl(main, length.firstEditId);
  ASSERT_TRUE(qtest::SetText(inches, "12"));
  EXPECT_EQ(qtest::TypedTexts(kCategoryLength, 0, "12", {kNotationFloat, 6, 1})[1],
            qtest::GetText(qtest::FindControl(main, length.firstEditId + 1)));
  HWND yards = qtest::FindControl(main, length.firstEditId + 2);
  DWORD_PTR result = 0;
  ::SendMessageTimeoutW(yards, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(m_case->user), SMTO_ABORTIFHUNG, 5000, &result);
  EXPECT_EQ(qtest::Wide(CategoryAt(kCategoryArea)->title), qtest::GetTextW(qtest::FindControl(main, 1058)));

  const std::string browserLog = qtest::BinPath("fake_browser.log");
  ::DeleteFileA(browserLog.c_str());
  qtest::PostCommand(main, 32775);  // Help
  char url[2048];
  ASSERT_TRUE(FileUrlOf(qtest::Utf8(folder + L"\\qtrahelp.htm").c_str(), url, sizeof url));
  EXPECT_NE(std::string::npos, BrowserLog().find(std::string(" ") + url + "\n" + qtest::Utf8(folder) + "\n"))
      << BrowserLog();
  ::DeleteFileA(browserLog.c_str());
  qtest::PostCommand(main, 32780);  // the tech-support form
  EXPECT_NE(std::string::npos, BrowserLog().find("\"" + qtest::Utf8(folder + L"\\email_ts.htm") + "\"\n"))
      << BrowserLog();
  const std::string form = qtest::ReadFileBytes(folder + L"\\email_ts.htm");
  EXPECT_NE(std::string::npos, form.find("charset=utf-8"));
  EXPECT_NE(std::string::npos, form.find("name=\"FromName\" size=\"50\" value=\"" + qtest::Utf8(m_case->user) + "\""));

  ::PostMessageA(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(qtest::WaitUntil([&] { return !::IsWindow(main); }, kLongWait));
  EXPECT_EQ(m_case->user, qtest::ReadRegTextW(kConfigure, L"LengthYards")) << "the typed text, stored whole";

  // The uninstall as the list of programs starts it, with its two questions.
  qtest::Program relay;
  ASSERT_TRUE(StartFromEntry(L"UninstallString", &relay));
  EXPECT_NE("", qtest::AnswerBox("Quantara", "Do you really want to UnInstall Quantara?", IDYES));
  HWND page = qtest::WaitForWindow("Quantara UnInstall", 0, kLongWait);
  ASSERT_NE(nullptr, page);
  EXPECT_NE(std::wstring::npos, qtest::GetTextW(::GetDlgItem(page, 1014)).find(L"Doing this will remove folder:\n" + folder));
  qtest::Click(::GetDlgItem(page, 1016));
  EXPECT_NE("", qtest::AnswerBox("Quantara", "Quantara has been UnInstalled."));
  ExpectRemovedFrom(folder);
}

TEST_F(UserNames, SilentInstallIntoAFolderNamedWithTheUsersLetters) {
  const std::wstring folder = m_case->folder;
  EXPECT_EQ(0u, RunToEnd(Installer(), L"/S /D=" + folder));
  ExpectInstalledIn(folder);
  UninstallQuietly(folder);
}

}  // namespace

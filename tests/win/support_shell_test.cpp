// Help and support through the shell: the files written at start, the help
// page in a registered browser (our fake_browser.exe, which records how it was
// started), the read-me and manual, and the tech-support form.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "common/product.h"
#include "common/strings.h"
#include "converter/app/app_state.h"
#include "converter/support/documents.h"
#include "converter/support/support_form.h"
#include "converter/support/system_description.h"
#include "converter/support/web_addresses.h"
#include "tests/harness/test_support.h"

namespace {

const char kBrowserKey[] = "Software\\CLASSES\\http\\shell\\open\\command";

// A file of the source tree (Wine shows the Unix root as drive Z:).
std::string SourcePath(const char* relative) {
  std::string path = __FILE__;
  path = path.substr(0, path.find_last_of("/\\") + 1) + "../../" + relative;
  return path[0] == '/' ? "Z:" + path : path;
}

// The default value of a registry key, set for one test and put back after it.
class ScopedDefaultValue {
 public:
  ScopedDefaultValue(HKEY root, const std::string& path) : m_root(root), m_path(path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
      char data[1024] = {};
      DWORD size = sizeof(data) - 1;
      m_existed = RegQueryValueExA(key, nullptr, nullptr, &m_type, reinterpret_cast<BYTE*>(data), &size) ==
                  ERROR_SUCCESS;
      m_data.assign(data, size);
      RegCloseKey(key);
    }
  }
  ~ScopedDefaultValue() {
    if (m_existed) Write(m_type, m_data);
    else Remove();
  }
  void Set(const std::string& text) { Write(REG_SZ, text + std::string(1, '\0')); }
  void Remove() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(m_root, m_path.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, nullptr);
    RegCloseKey(key);
  }

 private:
  void Write(DWORD type, const std::string& data) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(m_root, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                             nullptr))
        << m_path;
    RegSetValueExA(key, nullptr, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                   static_cast<DWORD>(data.size()));
    RegCloseKey(key);
  }
  HKEY m_root;
  std::string m_path;
  bool m_existed = false;
  DWORD m_type = REG_SZ;
  std::string m_data;
};

// Runs `action` on a second thread, so the test can answer the message box it shows.
class BackgroundCall {
 public:
  explicit BackgroundCall(std::function<int()> action) : m_action(std::move(action)) {
    m_thread = CreateThread(nullptr, 0, &BackgroundCall::Run, this, 0, nullptr);
  }
  ~BackgroundCall() {
    if (m_thread == nullptr) return;
    WaitForSingleObject(m_thread, qtest::kDefaultWait);
    CloseHandle(m_thread);
  }
  // Waits for the call's end; its result, or -1 if it did not end.
  int Result() {
    if (m_thread == nullptr || WaitForSingleObject(m_thread, qtest::kDefaultWait) != WAIT_OBJECT_0) return -1;
    return m_result;
  }

 private:
  static DWORD WINAPI Run(void* self) {
    auto call = static_cast<BackgroundCall*>(self);
    call->m_result = call->m_action();
    return 0;
  }
  std::function<int()> m_action;
  HANDLE m_thread = nullptr;
  int m_result = -1;
};

// Answers the message box with `textPart` from this process; its whole text.
std::string AnswerMessageBox(const char* textPart) {
  HWND box = qtest::WaitForMessageBox("Quantara", textPart, GetCurrentProcessId());
  if (box == nullptr) return "(no message box)";
  std::string text = qtest::MessageBoxText(box);
  qtest::PressButton(box, IDOK);
  return text;
}

struct BrowserLog {
  std::string commandLine;
  std::string folder;
};

// The first start of the fake browser in `folder` (its log), waiting for it.
bool WaitForBrowser(const std::string& folder, BrowserLog* log) {
  std::string path = folder + "\\fake_browser.log";
  if (!qtest::WaitUntil([&] { return qtest::FileExists(path); })) return false;
  std::string text = qtest::ReadFileBytes(path);
  size_t end = text.find('\n');
  log->commandLine = text.substr(0, end);
  log->folder = end == std::string::npos ? "" : text.substr(end + 1, text.find('\n', end + 1) - end - 1);
  return true;
}

// A program folder, three copies of the fake browser (registered for the
// current user, for the machine, and as the file association) and the
// registrations they replace, restored after each test.
class SupportShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_root = qtest::MakeTempFolder("support_shell");
    m_programDir = m_root + "\\program";
    CreateDirectoryA(m_programDir.c_str(), nullptr);
    CopyStringBounded(ProgramDir, m_programDir.c_str(), sizeof(ProgramDir));
    for (const char* name : {"user", "machine", "association"}) {
      std::string folder = m_root + "\\" + name;
      CreateDirectoryA(folder.c_str(), nullptr);
      ASSERT_TRUE(CopyFileA(qtest::BinPath("fake_browser.exe").c_str(), (folder + "\\fake_browser.exe").c_str(), FALSE));
    }
    // Our own file types for pages and text files, so nothing outside the test opens.
    m_htmType.Set("QtraTest.Page");
    m_txtType.Set("QtraTest.Text");
    m_pageOpen.Set(Browser("association") + " \"%1\"");
    m_textOpen.Set(Browser("association") + " \"%1\"");
  }
  void TearDown() override { qtest::DeleteFolderTree(m_root); }

  std::string Folder(const char* name) const { return m_root + "\\" + name; }
  std::string Browser(const char* name) const { return "\"" + Folder(name) + "\\fake_browser.exe\""; }
  std::string Missing() const { return "\"" + m_root + "\\gone\\browser.exe\" -nohome \"%1\""; }
  std::string ProgramFile(const char* name) const { return m_programDir + "\\" + name; }

  std::string m_root;
  std::string m_programDir;
  ScopedDefaultValue m_userBrowser{HKEY_CURRENT_USER, kBrowserKey};
  ScopedDefaultValue m_machineBrowser{HKEY_LOCAL_MACHINE, kBrowserKey};
  ScopedDefaultValue m_htmType{HKEY_CLASSES_ROOT, ".htm"};
  ScopedDefaultValue m_txtType{HKEY_CLASSES_ROOT, ".txt"};
  ScopedDefaultValue m_pageOpen{HKEY_CLASSES_ROOT, "QtraTest.Page\\shell\\open\\command"};
  ScopedDefaultValue m_textOpen{HKEY_CLASSES_ROOT, "QtraTest.Text\\shell\\open\\command"};
};

TEST_F(SupportShellTest, SupportFilesAreWrittenAsEmbeddedAndRewrittenAtEveryStart) {
  std::string help = qtest::ReadFileBytes(SourcePath("converter/resources/docs/qtrahelp.htm"));
  std::string picture = qtest::ReadFileBytes(SourcePath("converter/resources/bg_sky.jpg"));
  ASSERT_FALSE(help.empty());
  ASSERT_FALSE(picture.empty());

  EXPECT_EQ(1, WriteSupportFiles(nullptr));
  EXPECT_EQ(help, qtest::ReadFileBytes(ProgramFile("qtrahelp.htm")));
  EXPECT_EQ(picture, qtest::ReadFileBytes(ProgramFile("bg_sky.jpg")));

  // A second start replaces whatever the files hold now, longer or shorter.
  qtest::WriteFileBytes(ProgramFile("qtrahelp.htm"), "stale");
  qtest::WriteFileBytes(ProgramFile("bg_sky.jpg"), std::string(picture.size() + 999, 'x'));
  EXPECT_EQ(1, WriteSupportFiles(nullptr));
  EXPECT_EQ(help, qtest::ReadFileBytes(ProgramFile("qtrahelp.htm")));
  EXPECT_EQ(picture, qtest::ReadFileBytes(ProgramFile("bg_sky.jpg")));
}

TEST_F(SupportShellTest, SupportFilesInAMissingFolderFailQuietly) {
  CopyStringBounded(ProgramDir, (m_root + "\\no such folder").c_str(), sizeof(ProgramDir));
  EXPECT_EQ(0, WriteSupportFiles(nullptr));
  EXPECT_FALSE(qtest::FileExists(m_root + "\\no such folder"));
}

TEST_F(SupportShellTest, CurrentUserBrowserWinsAndOpensTheHelpPageInTheProgramFolder) {
  m_userBrowser.Set(Browser("user") + " -nohome \"%1\"");
  m_machineBrowser.Set(Browser("machine") + " %1");
  char browser[260];
  ASSERT_NE(0, FindBrowserCommand(browser, sizeof(browser)));
  EXPECT_EQ(Browser("user"), browser);

  EXPECT_EQ(1, OpenHelpPage(nullptr));
  BrowserLog log;
  ASSERT_TRUE(WaitForBrowser(Folder("user"), &log));
  const std::string url = "file:///" + m_programDir + "\\qtrahelp.htm";
  ASSERT_GE(log.commandLine.size(), url.size());
  EXPECT_EQ(url, log.commandLine.substr(log.commandLine.size() - url.size())) << log.commandLine;
  EXPECT_EQ(std::string::npos, log.commandLine.find("-nohome"));
  EXPECT_STRCASEEQ(m_programDir.c_str(), log.folder.c_str());
  EXPECT_FALSE(qtest::FileExists(Folder("machine") + "\\fake_browser.log"));
}

TEST_F(SupportShellTest, BrowserWhoseFileIsGoneIsSkippedForTheMachineOne) {
  m_userBrowser.Set(Missing());
  m_machineBrowser.Set(Browser("machine") + " \"%1\"");
  char browser[260];
  ASSERT_NE(0, FindBrowserCommand(browser, sizeof(browser)));
  EXPECT_EQ(Browser("machine"), browser);

  EXPECT_EQ(1, OpenHelpPage(nullptr));
  BrowserLog log;
  ASSERT_TRUE(WaitForBrowser(Folder("machine"), &log));
  EXPECT_NE(std::string::npos, log.commandLine.find("file:///" + m_programDir + "\\qtrahelp.htm"));
}

TEST_F(SupportShellTest, WithoutUsableBrowserThePageOpensThroughItsFileAssociation) {
  m_userBrowser.Set(Missing());
  m_machineBrowser.Set(Missing());  // on Wine also the classes root's view of it
  char browser[260] = "junk";
  EXPECT_EQ(0, FindBrowserCommand(browser, sizeof(browser)));
  EXPECT_STREQ("", browser);

  ASSERT_EQ(1, WriteSupportFiles(nullptr));
  EXPECT_EQ(1, OpenHelpPage(nullptr));
  BrowserLog log;
  ASSERT_TRUE(WaitForBrowser(Folder("association"), &log));
  EXPECT_NE(std::string::npos, log.commandLine.find(ProgramFile("qtrahelp.htm"))) << log.commandLine;
  EXPECT_STRCASEEQ(m_programDir.c_str(), log.folder.c_str());
}

TEST_F(SupportShellTest, HelpPageThatCannotBeOpenedIsReportedWithTheShellsCode) {
  m_userBrowser.Set(Missing());
  m_machineBrowser.Set(Missing());
  // The page was never written: the association has no file to open.
  BackgroundCall call([] { return OpenHelpPage(nullptr); });
  std::string text = AnswerMessageBox("Unable to open:");
  EXPECT_EQ(0, call.Result());
  const std::string head = "Unable to open:\n" + ProgramFile("qtrahelp.htm") + "\nin your Web Browser.\n\nError [";
  const std::string tail = "]\n\nTry using your Web Browser and load it from there.";
  ASSERT_EQ(head, text.substr(0, head.size())) << text;
  ASSERT_GT(text.size(), head.size() + tail.size());
  EXPECT_EQ(tail, text.substr(text.size() - tail.size()));
  int code = atoi(text.substr(head.size()).c_str());
  EXPECT_GE(code, 0);
  EXPECT_LE(code, 32);
  EXPECT_FALSE(qtest::FileExists(Folder("association") + "\\fake_browser.log"));
}

TEST_F(SupportShellTest, ReadMeOpensWithItsApplicationAndMissingManualGetsTheEditorHint) {
  ASSERT_TRUE(qtest::WriteFileBytes(ProgramFile("README.TXT"), "read me\r\n"));
  EXPECT_EQ(1, OpenProgramDocument(nullptr, "README.TXT"));
  BrowserLog log;
  ASSERT_TRUE(WaitForBrowser(Folder("association"), &log));
  EXPECT_NE(std::string::npos, log.commandLine.find(ProgramFile("README.TXT"))) << log.commandLine;
  EXPECT_STRCASEEQ(m_programDir.c_str(), log.folder.c_str());

  BackgroundCall call([] { return OpenProgramDocument(nullptr, "MANUAL.TXT"); });
  EXPECT_EQ("Unable to open:\n" + ProgramFile("MANUAL.TXT") +
                "\n\nUse another Editor, Word Processor, or Email Program to open it.",
            AnswerMessageBox("Unable to open:"));
  EXPECT_EQ(0, call.Result());
}

TEST_F(SupportShellTest, PhoneSupportBoxGivesTheSteps) {
  BackgroundCall call([] {
    ShowPhoneSupport(nullptr);
    return 1;
  });
  EXPECT_EQ(
      "Tech-Support By Phone\n\n1. Define your problem.\n\n2. Call us . . .\nWhen we answer the phone, tell us:\n"
      "o The name of the program - Quantara.\n\nTech-Support Phone Dialwick",
      AnswerMessageBox("Tech-Support By Phone"));
  EXPECT_EQ(1, call.Result());
}

// The information block as the maker's form handler expects it, HTML-escaped.
std::string ExpectedInformation(const std::string& subject) {
  return "------------ start info ------------\r\nWIN - " + std::string(SystemDescription) + " - [" +
         std::to_string(GetSystemMetrics(SM_CXSCREEN)) + " X " + std::to_string(GetSystemMetrics(SM_CYSCREEN)) +
         "]\r\nAPP - " QTRA_PRODUCT_NAME " - " QTRA_PRODUCT_VERSION "\r\nUSE -  ()\r\nSUB - " + subject +
         "\r\nMSG - My reason for writing is:\r\n\r\n\r\n------------- end info -------------";
}

size_t Count(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST_F(SupportShellTest, SupportFormIsWrittenFilledAndOpenedAndRewrittenOnTheNextRequest) {
  BuildSystemDescription();
  const std::string form = ProgramFile("email_ts.htm");
  EXPECT_EQ(1, SendSupportEmailForm(nullptr));
  BrowserLog log;
  ASSERT_TRUE(WaitForBrowser(Folder("association"), &log));
  EXPECT_NE(std::string::npos, log.commandLine.find(form)) << log.commandLine;

  std::string page = qtest::ReadFileBytes(form);
  EXPECT_NE(std::string::npos, page.find("value=\"" + ExpectedInformation("I need tech-support...") + "\">"))
      << page;
  // No user identity is kept: the user fills in name and address in the browser.
  EXPECT_NE(std::string::npos, page.find("charset=utf-8"));
  EXPECT_NE(std::string::npos, page.find(">Hello Vendrel/Quorin,\r\n\r\nI am running [" QTRA_PRODUCT_NAME ", " QTRA_PRODUCT_VERSION "]. "
                                         "My Username is [].\r\n\r\nMy reason for writing is:\r\n\r\n\r\n</textarea>"));
  EXPECT_NE(std::string::npos, page.find("name=\"FromName\" size=\"50\" value=\"\""));
  EXPECT_NE(std::string::npos, page.find(std::string("action=\"") + kSupportFormUrl + "\""));
  // Exactly one CR LF at the end.
  ASSERT_GE(page.size(), 3u);
  EXPECT_EQ("\r\n", page.substr(page.size() - 2));
  EXPECT_EQ(std::string::npos, std::string("\r\n ").find(page[page.size() - 3]));

  // A second request with a quote in its subject replaces the file; the quote is escaped.
  DeleteFileA((Folder("association") + "\\fake_browser.log").c_str());
  EXPECT_EQ(1, SendSupportEmailForm(nullptr, "Result \"wrong\" & <late>", "m", "b"));
  ASSERT_TRUE(WaitForBrowser(Folder("association"), &log));
  std::string second = qtest::ReadFileBytes(form);
  EXPECT_EQ(std::string::npos, second.find("I need tech-support..."));
  EXPECT_EQ(2u, Count(second, "Result &quot;wrong&quot; &amp; &lt;late&gt;"));
  EXPECT_EQ(0u, Count(second, "\"wrong\""));
  EXPECT_EQ("\r\n", second.substr(second.size() - 2));
  EXPECT_NE("\r\n", second.substr(second.size() - 4, 2));
}

TEST_F(SupportShellTest, SupportFormFailuresAreReported) {
  BuildSystemDescription();
  // No folder to write into.
  const std::string missingFolder = m_root + "\\no such folder";
  CopyStringBounded(ProgramDir, missingFolder.c_str(), sizeof(ProgramDir));
  {
    BackgroundCall call([] { return SendSupportEmailForm(nullptr); });
    EXPECT_EQ("Could not create [Marlowbrook email form] file:\n" + missingFolder +
                  "\\email_ts.htm\nCheck hard-drive.",
              AnswerMessageBox("Could not create"));
    EXPECT_EQ(0, call.Result());
  }

  // Written, but nothing can open it.
  CopyStringBounded(ProgramDir, m_programDir.c_str(), sizeof(ProgramDir));
  m_pageOpen.Set(Missing());
  BackgroundCall call([] { return SendSupportEmailForm(nullptr); });
  EXPECT_EQ("Unable to open your web-browser to the Marlowbrook email form at:\n" + ProgramFile("email_ts.htm") +
                "\n\n\nPlease type the following URL into your web-browse and goto it.\n\n" + kEmailPageUrl +
                "\n\nMarlowbrook Tech-Support phone Dialwick.",
            AnswerMessageBox("Unable to open your web-browser"));
  EXPECT_EQ(0, call.Result());
  EXPECT_TRUE(qtest::FileExists(ProgramFile("email_ts.htm")));
}

TEST_F(SupportShellTest, ProgramFolderTooLongForTheFileNamesIsReportedAndNothingIsCut) {
  BuildSystemDescription();
  const std::string parent = m_root + "\\" + std::string(100, 'p');
  const std::string folder = parent + "\\" + std::string(250 - parent.size() - 1, 'q');
  ASSERT_EQ(250u, folder.size());
  CreateDirectoryA(parent.c_str(), nullptr);
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  CopyStringBounded(ProgramDir, folder.c_str(), sizeof(ProgramDir));
  EXPECT_EQ(0, WriteSupportFiles(nullptr));
  const struct {
    std::function<int()> operation;
    std::string message;
  } cases[] = {
      {[] { return SendSupportEmailForm(nullptr); },
       "Could not create [Marlowbrook email form] file:\n" + folder + "\\email_ts.htm\nCheck hard-drive."},
      {[] { return OpenProgramDocument(nullptr, "README.TXT"); },
       "Unable to open:\n" + folder + "\\README.TXT\n\nUse another Editor, Word Processor, or Email Program to open it."},
  };
  for (const auto& c : cases) {
    BackgroundCall call(c.operation);
    EXPECT_EQ(c.message, AnswerMessageBox(c.message.substr(0, 14).c_str()));
    EXPECT_EQ(0, call.Result());
  }
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
  ASSERT_NE(INVALID_HANDLE_VALUE, find);
  do {
    EXPECT_TRUE(strcmp(entry.cFileName, ".") == 0 || strcmp(entry.cFileName, "..") == 0)
        << "a file under a cut name: " << entry.cFileName;
  } while (FindNextFileA(find, &entry));
  FindClose(find);
}

}  // namespace

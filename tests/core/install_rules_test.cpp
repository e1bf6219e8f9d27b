// The installer's command line and what an uninstall that left something
// behind does and says.
#include <gtest/gtest.h>

#include <string>

#include "common/install_rules.h"

namespace {

TEST(InstallerCommandLine, SwitchesAndWords) {
  const struct {
    const char* line;
    InstallerAction action;
    bool silent;
    const char* folder;
  } cases[] = {
      {"", kActionInstall, false, ""},
      {"anything", kActionInstall, false, ""},  // words that are no switch install, as before
      {"/S", kActionInstall, true, ""},
      {"/s", kActionInstall, true, ""},
      {"  /S  ", kActionInstall, true, ""},
      {"/S /D=C:\\My Tools\\Unit Converter", kActionInstall, true, "C:\\My Tools\\Unit Converter"},
      {"/S /d=C:\\a  ", kActionInstall, true, "C:\\a"},
      {"/S /D=C:\\a /S", kActionInstall, true, "C:\\a /S"},  // the rest of the line is the folder
      {"UnInstall", kActionUninstallRelay, false, ""},
      {"uninstall /s", kActionUninstallRelay, true, ""},
      {"UNINSTALL2 /S", kActionUninstall, true, ""},
      {"UnInstall2", kActionUninstall, false, ""},
      {"/S UnInstall", kActionInstall, true, ""},  // the uninstall word comes first or not at all
      {"/SILENT", kActionBadArgument, false, ""},
      {"/S /X", kActionBadArgument, true, ""},  // still no window
      {"/D=C:\\a", kActionBadArgument, false, ""},  // a folder only for a silent run
      {"/S /D=", kActionBadArgument, true, ""},
      {"UnInstall /S /D=C:\\a", kActionBadArgument, true, ""},
      {"/", kActionBadArgument, false, ""},
  };
  for (const auto& c : cases) {
    const InstallerCommand command = ParseInstallerCommand(c.line);
    EXPECT_EQ(c.action, command.action) << c.line;
    EXPECT_EQ(c.silent, command.silent) << c.line;
    EXPECT_STREQ(c.folder, command.folder) << c.line;
  }
}

TEST(InstallerCommandLine, AFolderThatDoesNotFitIsRefusedNotCut) {
  std::string line = "/S /D=C:\\" + std::string(kSwitchFolderSize - 3, 'a');  // one too many
  EXPECT_EQ(kActionBadArgument, ParseInstallerCommand(line.c_str()).action);
  line.pop_back();
  const InstallerCommand command = ParseInstallerCommand(line.c_str());
  EXPECT_EQ(kActionInstall, command.action);
  EXPECT_EQ(kSwitchFolderSize - 1, std::string(command.folder).size());
}

TEST(UninstallOutcomeRule, EntryAndSettingsFollowWhatIsLeft) {
  const struct {
    bool folderGone, anythingLeft, uninstallerLeft;
    UninstallResult result;
    bool removeEntry, removeSettings;
  } cases[] = {
      {true, false, false, kUninstallComplete, true, true},
      {false, false, false, kUninstallFolderKept, true, true},
      {false, true, true, kUninstallFilesKept, false, false},   // it can be run again
      {false, true, false, kUninstallFilesKept, true, false},   // nothing left to run
  };
  for (const auto& c : cases) {
    const UninstallOutcome outcome = JudgeUninstall(c.folderGone, c.anythingLeft, c.uninstallerLeft);
    EXPECT_EQ(c.result, outcome.result) << c.folderGone << c.anythingLeft << c.uninstallerLeft;
    EXPECT_EQ(c.removeEntry, outcome.removeEntry) << c.folderGone << c.anythingLeft << c.uninstallerLeft;
    EXPECT_EQ(c.removeSettings, outcome.removeSettings) << c.folderGone << c.anythingLeft << c.uninstallerLeft;
  }
}

TEST(UninstallOutcomeRule, TheReportSaysWhatHappened) {
  const struct {
    UninstallOutcome outcome;
    const char* expected[3];
    const char* absent;
  } cases[] = {
      {{kUninstallComplete, true, true}, {"P has been UnInstalled.", "", ""}, "C:\\f"},
      {{kUninstallFolderKept, true, true}, {"Only its empty folder remains:\nC:\\f\n", "delete the folder by hand", ""},
       "could not"},
      {{kUninstallFilesKept, false, false},
       {"could not be fully UnInstalled", "C:\\f\nstill holds:\na.txt\nqtrasx.exe", "run the UnInstall again"},
       "has been UnInstalled"},
      {{kUninstallFilesKept, true, false}, {"Close the programs using it, then delete the folder by hand.", "", ""}, "run the UnInstall again"},
  };
  for (const auto& c : cases) {
    char text[512];
    ASSERT_TRUE(FormatUninstallReport(c.outcome, "P", "C:\\f", "a.txt\nqtrasx.exe", text, sizeof text));
    std::string report = text;
    for (const char* part : c.expected) EXPECT_NE(std::string::npos, report.find(part)) << report;
    EXPECT_EQ(std::string::npos, report.find(c.absent)) << report;
  }
  char small[16];
  EXPECT_FALSE(FormatUninstallReport({kUninstallFolderKept, true, true}, "P", "C:\\f", "", small, sizeof small));
  EXPECT_STREQ("", small);
}

}  // namespace

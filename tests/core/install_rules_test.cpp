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
      {"/S /D=C:\\a /S", kActionBadArgument, true, ""},  // "/D=" comes last
      {"/D=C:\\x /S", kActionBadArgument, true, ""},     // silent all the same: no window
      {"/S /D=C:/fwd/dir", kActionInstall, true, "C:\\fwd\\dir"},
      {"/S /D=\"C:\\Quoted Dir\"", kActionInstall, true, "C:\\Quoted Dir"},
      {"/S \"/D=C:\\Quoted Dir\"", kActionInstall, true, "C:\\Quoted Dir"},
      {"/S /D=\"C:\\half", kActionBadArgument, true, ""},
      {"/S /D=qtrarel", kActionInstall, true, "qtrarel"},  // judged as a folder, not as a switch
      {"UnInstall", kActionUninstallRelay, false, ""},
      {"uninstall /s", kActionUninstallRelay, true, ""},
      {"UNINSTALL2 /S", kActionUninstall, true, ""},
      {"UnInstall2", kActionUninstall, false, ""},
      {"/S UnInstall", kActionUninstallRelay, true, ""},
      {"UnInstall more", kActionInstall, false, ""},  // the one word alone, as always
      {"UnInstall2 /S /D=C:\\qtra", kActionUninstall, true, "C:\\qtra"},  // from the relay
      {"UnInstall2 /D=C:\\qtra", kActionUninstall, false, "C:\\qtra"},
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

TEST(InstallerCommandLine, ABadArgumentNamesTheWordThatDoesNotFit) {
  const struct {
    const char* line;
    const char* word;
  } cases[] = {{"/S /X", "/X"}, {"/S /D=C:\\a /S", "/S"}, {"UnInstall /S /D=C:\\a", "/D="}, {"/D=C:\\a", "/D="}};
  for (const auto& c : cases) {
    const InstallerCommand command = ParseInstallerCommand(c.line);
    EXPECT_EQ(c.word, std::string(c.line + command.badAt, command.badLength)) << c.line;
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

TEST(ProgramFiles, OnlyOurNamesInAnyCaseAndThePayloadsInterruptedForms) {
  const struct {
    const char* name;
    bool ours;
  } cases[] = {
      {"QTRA.EXE", true},           {"qtra.exe", true},          {"qtrasx.exe", true},       {"UNINSTL.ICO", true},
      {"bg_sky.jpg", true},         {"email_ts.htm", true},      {"tmp", true},              {"README.TXT.qtranew", true},
      {"qtrasx.exe.QTRAOLD", true}, {"bg_sky.jpg.qtranew", false}, {"README.TXT.new", false}, {"notes.txt", false},
      {"QTRA.EXE2", false},         {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(c.ours, IsOurProgramFile(c.name)) << c.name;

  const FolderEntryName earlier[] = {{"QTRA.EXE", false}, {"qtrasx.exe", false}, {"email_ts.htm", false}};
  const FolderEntryName users[] = {{"README.TXT", false}, {"budget.xls", false}};
  const FolderEntryName folder[] = {{"QTRA.EXE", false}, {"tmp", true}};
  const FolderEntryName explorer[] = {{"desktop.ini", false}, {"THUMBS.DB", false}, {"Thumbs.db", true}};
  EXPECT_EQ(kContentsEmpty, JudgeFolderContents(nullptr, 0));
  EXPECT_EQ(kContentsEmpty, JudgeFolderContents(explorer, 2)) << "Explorer's own files keep no folder";
  EXPECT_EQ(kContentsForeign, JudgeFolderContents(explorer, 3)) << "but a folder of that name does";
  EXPECT_EQ(kContentsOurs, JudgeFolderContents(earlier, 3));
  EXPECT_EQ(kContentsForeign, JudgeFolderContents(users, 2));
  EXPECT_EQ(kContentsForeign, JudgeFolderContents(folder, 2)) << "a sub-folder is never ours";
}

TEST(ProgramFiles, TheTableFeedsPayloadShortcutIconsAndProgress) {
  // The payload comes first: resources, then the installer's copy of itself.
  ASSERT_EQ(8u, kPayloadFileCount);
  for (size_t i = 0; i < kProgramFileCount; ++i) {
    const ProgramFile& file = kProgramFiles[i];
    EXPECT_EQ(i < kPayloadFileCount, file.origin == kFromResource || file.origin == kInstallerCopy) << file.name;
    EXPECT_EQ(file.origin == kFromResource, file.resourceId != 0) << file.name;
    if (file.icon != nullptr) {
      EXPECT_NE(nullptr, FindProgramFile(file.icon)) << file.name << " shows a file we write";
    }
  }
  EXPECT_STREQ("MANUAL.ICO", FindProgramFile("manual.txt")->icon);
  EXPECT_EQ(nullptr, FindProgramFile("MANUAL.TXT.qtranew"));
  // Each file adds its share of the 136 bars; the bar never fills its 150.
  for (size_t step = 1; step <= kPayloadFileCount; ++step) {
    EXPECT_EQ(static_cast<int>(136 * step / kPayloadFileCount), ProgressBarsForStep(step));
  }
  EXPECT_EQ(17, ProgressBarsForStep(1));
  EXPECT_EQ(136, ProgressBarsForStep(kPayloadFileCount));
}

TEST(UninstallOutcomeRule, EntryAndSettingsFollowWhatIsLeft) {
  const struct {
    bool folderGone, oursLeft, othersLeft, uninstallerLeft;
    UninstallResult result;
    bool removeEntry, removeSettings;
  } cases[] = {
      {true, false, false, false, kUninstallComplete, true, true},
      {false, false, false, false, kUninstallFolderKept, true, true},
      {false, true, false, true, kUninstallFilesKept, false, false},  // it can be run again
      {false, true, true, false, kUninstallFilesKept, true, false},   // nothing left to run
      {false, false, true, false, kUninstallOthersKept, true, true},  // the user's files keep only the folder
  };
  for (const auto& c : cases) {
    const UninstallOutcome outcome = JudgeUninstall(c.folderGone, c.oursLeft, c.othersLeft, c.uninstallerLeft);
    EXPECT_EQ(c.result, outcome.result) << c.folderGone << c.oursLeft << c.othersLeft << c.uninstallerLeft;
    EXPECT_EQ(c.removeEntry, outcome.removeEntry) << c.folderGone << c.oursLeft << c.othersLeft;
    EXPECT_EQ(c.removeSettings, outcome.removeSettings) << c.folderGone << c.oursLeft << c.othersLeft;
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
      {{kUninstallOthersKept, true, true}, {"P has been UnInstalled", "C:\\f\nwas kept because it holds other files", "a.txt"},
       "could not"},
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

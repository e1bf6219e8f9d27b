// The installation plan, run in this process with a failure at each of its
// steps in turn: afterwards the files, the registry values and the links are
// as they were before, for a first installation into new folder levels, for
// an upgrade in place and for a move to another folder. The same plan
// interrupted (the run ended with its record left) is rolled back by the next
// run, wherever that one installs.
#include <windows.h>

#include <objbase.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/install_rules.h"
#include "installer/install_plan.h"
#include "installer/installer_state.h"
#include "installer/operation_record.h"
#include "tests/harness/install_runs.h"
#include "tests/harness/test_support.h"

namespace {

class InstallPlan : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ::CoInitialize(nullptr); }
  void SetUp() override {
    g_state.silent = true;
    qtest::ForgetInstallations();
    // As every run of the installer leaves it, looking for a converter to close.
    qtest::WriteRegText(qtest::kHandlesKeyPath, kTransHandleValue, "0");
    m_base = qtest::MakeTempFolder("plan");
  }
  void TearDown() override {
    qtest::ForgetInstallations();
    qtest::DeleteFolderTree(m_base);
  }
  // Applies a whole plan into `folder`; the code.
  int Install(const std::string& folder, size_t failAt = static_cast<size_t>(-1)) {
    snprintf(g_state.targetFolder, sizeof g_state.targetFolder, "%s", folder.c_str());
    g_plan.Build(nullptr);
    const int code = g_plan.Apply(true, failAt);
    if (code == kExitSuccess) g_plan.Finish(nullptr);
    return code;
  }
  // A failure at every step of an installation into `folder` leaves `watched` as it was.
  void ExpectEveryFailureUndone(const std::string& folder, const std::vector<std::string>& watched) {
    const std::string before = qtest::InstallationSnapshot(watched);
    snprintf(g_state.targetFolder, sizeof g_state.targetFolder, "%s", folder.c_str());
    g_plan.Build(nullptr);
    const size_t steps = g_plan.Steps().size();
    ASSERT_GT(steps, 2 * kPayloadFileCount + 8);
    for (size_t failAt = 0; failAt < steps; ++failAt) {
      const std::string what = g_plan.Steps()[failAt].what;
      EXPECT_NE(kExitSuccess, Install(folder, failAt)) << what;
      EXPECT_EQ(before, qtest::InstallationSnapshot(watched)) << "after a failure at " << what;
    }
    EXPECT_EQ(kExitSuccess, Install(folder));
    qtest::ExpectInstalled(folder);
  }
  void ExpectEveryEndRolledBack(const std::string& target, const std::vector<std::string>& watched);
  std::string m_base;
};

TEST_F(InstallPlan, AFailureAtAnyStepOfAFirstInstallationLeavesNothing) {
  // Two levels to make: both go again.
  ExpectEveryFailureUndone(m_base + "\\new\\Quantara", {m_base, m_base + "\\new", m_base + "\\new\\Quantara"});
}

TEST_F(InstallPlan, AFailureAtAnyStepOfAnUpgradeOrAMoveLeavesTheEarlierInstallation) {
  const std::string earlier = m_base + "\\earlier";
  ASSERT_EQ(kExitSuccess, Install(earlier));
  ExpectEveryFailureUndone(earlier, {earlier});
  const std::string moved = m_base + "\\moved";
  ExpectEveryFailureUndone(moved, {earlier, moved});
  EXPECT_FALSE(qtest::FileExists(earlier)) << "the move removed the earlier installation";
}

// The plan into `target` ended after each of its steps in turn (no undo), then
// the next run: until the entry names the new installation (the last two
// steps), `watched` is as it was, links compared by what they name; from
// there on the next run finishes it instead.
void InstallPlan::ExpectEveryEndRolledBack(const std::string& target, const std::vector<std::string>& watched) {
  const std::string before = qtest::InstallationSnapshot(watched, false);
  snprintf(g_state.targetFolder, sizeof g_state.targetFolder, "%s", target.c_str());
  g_plan.Build(nullptr);
  const size_t steps = g_plan.Steps().size();
  for (size_t end = 1; end <= steps; ++end) {
    snprintf(g_state.targetFolder, sizeof g_state.targetFolder, "%s", target.c_str());
    g_plan.Build(nullptr);
    for (size_t i = 0; i < end; ++i) ASSERT_TRUE(g_plan.Steps()[i].apply()) << g_plan.Steps()[i].what;
    const std::string what = g_plan.Steps()[end - 1].what;
    EXPECT_EQ(kExitSuccess, CompleteInterruptedOperation(nullptr, false)) << what;
    OperationRecord record = {};
    EXPECT_FALSE(ReadOperationRecord(&record)) << what;
    if (end < steps - 1) {
      EXPECT_EQ(before, qtest::InstallationSnapshot(watched, false)) << "ended after " << what;
    }
  }
  qtest::ExpectInstalled(target);
}

TEST_F(InstallPlan, AnInstallationEndedAtAnyStepIsRolledBackByTheNextRun) {
  const std::string earlier = m_base + "\\earlier";
  ASSERT_EQ(kExitSuccess, Install(earlier));
  const std::string moved = m_base + "\\moved";
  ExpectEveryEndRolledBack(moved, {earlier, moved});
  EXPECT_FALSE(qtest::FileExists(earlier));
}

// The next run undoes only what the ended one did: a folder accepted because
// it held only our files' names (a copy the user unpacked) keeps that copy,
// and an upgrade from an older version leaves the entry naming that version.
TEST_F(InstallPlan, TheNextRunUndoesOnlyWhatTheEndedRunDid) {
  const std::string copy = m_base + "\\unpacked";
  ASSERT_TRUE(::CreateDirectoryA(copy.c_str(), nullptr));
  for (size_t i = 0; i < kPayloadFileCount; ++i) {
    ASSERT_TRUE(qtest::WriteFileBytes(copy + "\\" + kProgramFiles[i].name, "the user's own copy"));
  }
  ExpectEveryEndRolledBack(copy, {copy});

  const std::string earlier = m_base + "\\earlier";
  ASSERT_EQ(kExitSuccess, Install(earlier));
  ASSERT_TRUE(qtest::WriteRegText(qtest::kUninstallEntry, "DisplayVersion", "10.0.0"));
  ExpectEveryEndRolledBack(earlier, {earlier});
}

// A file the next run must put back is held open (a converter started in
// between): that run stops with exit code 4 and keeps the record, and the run
// after it, with the file free again, completes the rollback.
TEST_F(InstallPlan, ARollbackThatCannotCompleteIsKeptForTheNextRun) {
  const std::string earlier = m_base + "\\earlier";
  ASSERT_EQ(kExitSuccess, Install(earlier));
  const std::string before = qtest::InstallationSnapshot({earlier}, false);
  snprintf(g_state.targetFolder, sizeof g_state.targetFolder, "%s", earlier.c_str());
  g_plan.Build(nullptr);
  // Ended with every file in place, before the links.
  for (size_t i = 0; i < 3 + 2 * kPayloadFileCount; ++i) ASSERT_TRUE(g_plan.Steps()[i].apply()) << i;
  HANDLE held = ::CreateFileA((earlier + "\\QTRA.EXE").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  EXPECT_EQ(kExitFileNotWritable, CompleteInterruptedOperation(nullptr, false));
  OperationRecord record = {};
  EXPECT_TRUE(ReadOperationRecord(&record));
  ::CloseHandle(held);
  EXPECT_EQ(kExitSuccess, CompleteInterruptedOperation(nullptr, false));
  EXPECT_FALSE(ReadOperationRecord(&record));
  EXPECT_EQ(before, qtest::InstallationSnapshot({earlier}, false));
}

}  // namespace

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

TEST_F(InstallPlan, AnInstallationEndedAtAnyStepIsRolledBackByTheNextRun) {
  const std::string earlier = m_base + "\\earlier";
  ASSERT_EQ(kExitSuccess, Install(earlier));
  // Links are made anew for the earlier folder, so they are compared by what they name.
  const std::string before = qtest::InstallationSnapshot({earlier}, false);
  const std::string moved = m_base + "\\moved";
  snprintf(g_state.targetFolder, sizeof g_state.targetFolder, "%s", moved.c_str());
  g_plan.Build(nullptr);
  const size_t steps = g_plan.Steps().size();
  for (size_t end = 1; end <= steps; ++end) {
    // The steps up to `end` ran, then the run was ended: no undo.
    snprintf(g_state.targetFolder, sizeof g_state.targetFolder, "%s", moved.c_str());
    g_plan.Build(nullptr);
    for (size_t i = 0; i < end; ++i) ASSERT_TRUE(g_plan.Steps()[i].apply()) << g_plan.Steps()[i].what;
    const std::string what = g_plan.Steps()[end - 1].what;
    CompleteInterruptedOperation(nullptr, false);
    OperationRecord record = {};
    EXPECT_FALSE(ReadOperationRecord(&record)) << what;
    // Once the entry names the new folder (the last two steps), the next run finishes it instead.
    if (end < steps - 1) {
      EXPECT_EQ(before, qtest::InstallationSnapshot({earlier}, false)) << "ended after " << what;
      std::string left;
      for (const std::string& name : qtest::FolderEntries(moved)) left += " " + name;
      EXPECT_FALSE(qtest::FileExists(moved)) << "ended after " << what << "; left:" << left;
    }
  }
  qtest::ExpectInstalled(moved);
  EXPECT_FALSE(qtest::FileExists(earlier));
}

}  // namespace

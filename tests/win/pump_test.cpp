// The converter's message-dispatching wait.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/ui_helpers.h"
#include "tests/harness/test_support.h"

namespace {

// Generous bounds: only the early returns are asserted, never how precise a wait is.
const unsigned long kLongWait = 20000;
const DWORD kEarly = 10000;

DWORD Elapsed(DWORD start) { return ::GetTickCount() - start; }

class PumpTest : public testing::Test {
 protected:
  void SetUp() override {
    TimeChangeBreaks = 0;
    AppClosing = 0;
  }
  void TearDown() override {
    TimeChangeBreaks = 0;
    AppClosing = 0;
  }
};

TEST_F(PumpTest, WaitsAtLeastTheRequestedTime) {
  DWORD start = ::GetTickCount();
  PumpMessagesFor(300, 0);
  EXPECT_GE(Elapsed(start), 300u);
  start = ::GetTickCount();
  PumpMessagesFor(1001, 0);
  EXPECT_GE(Elapsed(start), 1001u);
}

TEST_F(PumpTest, TimeChangeBreaksTenWaitsThenWaitsNormally) {
  TimeChangeBreaks = 10;
  for (int i = 0; i < 10; ++i) {
    DWORD start = ::GetTickCount();
    PumpMessagesFor(kLongWait, 0);
    EXPECT_LT(Elapsed(start), kEarly) << "wait " << i;
    EXPECT_EQ(9 - i, TimeChangeBreaks);
  }
  DWORD start = ::GetTickCount();
  PumpMessagesFor(300, 0);
  EXPECT_GE(Elapsed(start), 300u);
  EXPECT_EQ(0, TimeChangeBreaks);
}

TEST_F(PumpTest, ClosingEndsAModeZeroWaitButNotModeOne) {
  AppClosing = 1;
  DWORD start = ::GetTickCount();
  PumpMessagesFor(kLongWait, 0);
  EXPECT_LT(Elapsed(start), kEarly);
  start = ::GetTickCount();
  PumpMessagesFor(500, 1);
  EXPECT_GE(Elapsed(start), 500u);
}

TEST_F(PumpTest, DispatchesMessagesAndConsumesQuit) {
  qtest::MessageCounter counter(WM_APP + 1);
  ASSERT_NE(nullptr, counter.window());
  ::PostMessageA(counter.window(), WM_APP + 1, 0, 0);
  ::PostMessageA(counter.window(), WM_APP + 1, 0, 0);
  ::PostQuitMessage(0);
  PumpMessagesFor(0, 0);  // even a zero wait makes one pass
  EXPECT_EQ(2, counter.count());
  MSG left;
  EXPECT_FALSE(::PeekMessageA(&left, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

}  // namespace

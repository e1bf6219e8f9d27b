// The installer's form of the message-dispatching wait: no early returns.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/ui_helpers.h"
#include "tests/harness/test_support.h"

namespace {

TEST(InstallerPump, DispatchesWhileWaitingTheFullTime) {
  qtest::MessageCounter counter(WM_APP + 2);
  ASSERT_NE(nullptr, counter.window());
  ::PostMessageA(counter.window(), WM_APP + 2, 0, 0);
  DWORD start = ::GetTickCount();
  PumpMessagesFor(400);
  EXPECT_GE(::GetTickCount() - start, 400u);
  EXPECT_EQ(1, counter.count());
}

}  // namespace

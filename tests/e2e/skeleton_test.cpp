// The converter starts, publishes its window handle, and withdraws it on close.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/product.h"
#include "tests/harness/test_support.h"

namespace {

const std::string kHandles = qtest::ProductSubKey(kHandlesKey);

TEST(ConverterLifecycle, PublishesItsWindowWhileItRuns) {
  qtest::WriteRegText(kHandles, kTransHandleValue, "0");
  qtest::Program qtra;
  ASSERT_TRUE(qtra.Start(qtest::BinPath("qtra.exe")));
  HWND main = qtest::WaitForWindow(kMainTitle, qtra.Id(), 60000);
  ASSERT_NE(nullptr, main);
  EXPECT_NE(nullptr, qtest::FindControl(main, 1024)) << "the tab control";

  char expected[32];
  snprintf(expected, sizeof expected, "%lu", HandleToULong(main));
  EXPECT_EQ(expected, qtest::ReadRegText(kHandles, kTransHandleValue));

  ::PostMessageA(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(qtra.WaitForExit(60000));
  EXPECT_EQ("0", qtest::ReadRegText(kHandles, kTransHandleValue));
}

}  // namespace

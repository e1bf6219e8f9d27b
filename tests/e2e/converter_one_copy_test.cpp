// One running converter: a second start brings the running copy to the front
// (out of the tray, or restored) and ends without writing anything; and the
// About box ends with the main window instead of keeping the program alive.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/product.h"
#include "converter/engine/catalogue.h"
#include "tests/harness/test_support.h"

namespace {

const std::string kConfigure = qtest::ProductSubKey("Configure");
const std::string kHandles = qtest::ProductSubKey(kHandlesKey);

// The converter's main windows, visible or not: all of them, or those of `processId`.
std::vector<HWND> MainWindows(DWORD processId = 0) {
  std::vector<HWND> found;
  for (HWND window = ::FindWindowA(nullptr, kMainTitle); window != nullptr;
       window = ::FindWindowExA(nullptr, window, nullptr, kMainTitle)) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (processId == 0 || owner == processId) found.push_back(window);
  }
  return found;
}

// Starts the converter and waits for the end of its start: its pages exist.
HWND StartConverter(qtest::Program* program, const char* arguments = "") {
  if (!program->Start(qtest::BinPath("qtra.exe"), arguments, qtest::MakeTempFolder("qtra_one_copy"))) return nullptr;
  HWND main = nullptr;
  qtest::WaitUntil([&] {
    std::vector<HWND> windows = MainWindows(program->Id());
    main = windows.empty() ? nullptr : windows[0];
    return main != nullptr && qtest::FindControl(main, CategoryAt(0)->firstEditId) != nullptr;
  }, 60000);
  ::Sleep(1000);  // a start-up hiding follows at once
  return main;
}

TEST(ConverterOneCopy, ASecondStartBringsTheRunningCopyForwardAndEnds) {
  const struct {
    const char* useTray;
    const char* hideAtStartup;
    bool hide;  // "Hide" once it runs
    const char* arguments;
  } cases[] = {
      {"1", "1", false, ""},                     // hidden in the tray from its start
      {"0", "0", true, ""},                      // minimised on the taskbar
      {"1", "0", true, kFirstRunArgument},  // the installer's first-run start
  };
  for (const auto& start : cases) {
    SCOPED_TRACE(std::string("tray ") + start.useTray + ", hidden at start " + start.hideAtStartup + ", \"" +
                 start.arguments + "\"");
    qtest::DeleteRegTree(qtest::kProductKey);
    qtest::WriteRegText(qtest::ProductSubKey("Options"), "UseSystemTray", start.useTray);
    qtest::WriteRegText(qtest::ProductSubKey("Options"), "HideInTrayOnStartup", start.hideAtStartup);
    qtest::Program first;
    HWND main = StartConverter(&first);
    ASSERT_NE(nullptr, main);
    if (start.hide) qtest::PostCommand(main, 32774);
    const bool tray = *start.useTray == '1';
    EXPECT_TRUE(qtest::WaitUntil([&] { return tray ? !::IsWindowVisible(main) : ::IsIconic(main) != 0; }, 5000) ||
                !tray);
    if (!tray && !::IsIconic(main)) fprintf(stderr, "this display does not minimise: the restore is not seen\n");

    // What a second copy would write: its handle and its settings.
    ASSERT_TRUE(qtest::WriteRegText(kHandles, kTransHandleValue, "777"));
    ASSERT_TRUE(qtest::DeleteRegTree(kConfigure));
    qtest::Program second;
    ASSERT_TRUE(second.Start(qtest::BinPath("qtra.exe"), start.arguments));
    EXPECT_TRUE(second.WaitForExit(30000)) << "the second copy keeps running";
    EXPECT_TRUE(qtest::WaitUntil([&] { return ::IsWindowVisible(main) && !::IsIconic(main); }, 5000));
    EXPECT_TRUE(qtest::WaitUntil([&] { return ::GetForegroundWindow() == main; }, 5000));
    EXPECT_EQ(1u, MainWindows().size());
    EXPECT_EQ("777", qtest::ReadRegText(kHandles, kTransHandleValue));
    EXPECT_FALSE(qtest::RegKeyExists(kConfigure)) << "the second copy wrote settings";

    // In front, with the focus in its box: a key goes there.
    const HWND box = qtest::FindControl(main, CategoryAt(kCategoryLength)->firstEditId);
    qtest::PressKey('9');
    EXPECT_TRUE(qtest::WaitUntil([&] { return qtest::GetText(box) == "9"; }, 5000)) << qtest::GetText(box);
    qtest::PostCommand(main, ID_REMOTE_CLOSE);
    EXPECT_TRUE(first.WaitForExit(30000));
  }
}

TEST(ConverterOneCopy, AStartRightAfterTheInstallerClosedTheRunningCopyRuns) {
  qtest::DeleteRegTree(qtest::kProductKey);
  qtest::Program first;
  HWND main = StartConverter(&first);
  ASSERT_NE(nullptr, main);
  // The installer's order: the close request, the handle gone, the new start.
  qtest::PostCommand(main, ID_REMOTE_CLOSE);
  ASSERT_TRUE(qtest::WaitUntil([] { return qtest::ReadRegText(kHandles, kTransHandleValue) == "0"; }, 10000));
  qtest::Program second;
  HWND next = StartConverter(&second);
  ASSERT_NE(nullptr, next) << "the new start ended with the old copy";
  EXPECT_TRUE(first.WaitForExit(30000));
  qtest::PostCommand(next, ID_REMOTE_CLOSE);
  EXPECT_TRUE(second.WaitForExit(30000));
}

TEST(ConverterOneCopy, TheAboutBoxEndsWithTheMainWindow) {
  // The close box saves, the installer's request does not; neither waits for the About box.
  for (bool closeBox : {true, false}) {
    qtest::DeleteRegTree(qtest::kProductKey);
    qtest::Program qtra;
    HWND main = StartConverter(&qtra);
    ASSERT_NE(nullptr, main);
    ASSERT_TRUE(qtest::SetText(qtest::FindControl(main, CategoryAt(kCategoryLength)->firstEditId), "42"));
    qtest::PostCommand(main, 32782);
    HWND about = qtest::WaitForWindow("About Quantara", qtra.Id(), 10000);
    ASSERT_NE(nullptr, about);
    ::PostMessageA(main, closeBox ? WM_CLOSE : WM_COMMAND, closeBox ? 0 : ID_REMOTE_CLOSE, 0);
    EXPECT_TRUE(qtra.WaitForExit(15000)) << "the About box kept the program alive";
    EXPECT_FALSE(::IsWindow(about));
    EXPECT_EQ(closeBox ? "42" : "", qtest::ReadRegText(kConfigure, CategoryAt(kCategoryLength)->units[0].valueName));
    EXPECT_EQ("0", qtest::ReadRegText(kHandles, kTransHandleValue));
  }
}

}  // namespace

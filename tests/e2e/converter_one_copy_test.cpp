// One running converter: a second start brings the running copy to the front
// (out of the tray, or restored) and ends without writing anything; and the
// About box ends with the main window instead of keeping the program alive.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "converter/engine/catalogue.h"
#include "tests/harness/test_support.h"

namespace {

const char kTitle[] = "Quantara - Version 11.04.01";
const std::string kOptions = qtest::ProductSubKey("Options");
const std::string kConfigure = qtest::ProductSubKey("Configure");
const std::string kHandles = qtest::ProductSubKey("Handles");
const int kHide = 32774;
const int kAbout = 32782;
const int kRemoteClose = 65000;

// The converter's main windows of every process, visible or not.
int CountMainWindows() {
  int count = 0;
  for (HWND window = ::FindWindowA(nullptr, kTitle); window != nullptr;
       window = ::FindWindowExA(nullptr, window, nullptr, kTitle))
    ++count;
  return count;
}

HWND FindMain(DWORD processId) {
  HWND found = nullptr;
  qtest::WaitUntil([&] {
    for (HWND window = ::FindWindowA(nullptr, kTitle); window != nullptr;
         window = ::FindWindowExA(nullptr, window, nullptr, kTitle)) {
      DWORD owner = 0;
      ::GetWindowThreadProcessId(window, &owner);
      if (owner == processId) found = window;
    }
    return found != nullptr;
  }, 60000);
  return found;
}

struct SecondStart {
  const char* useTray;
  const char* hideAtStartup;
  bool hideByCommand;  // put away with "Hide" once it runs
  const char* arguments;
};

TEST(ConverterOneCopy, ASecondStartBringsTheRunningCopyForwardAndEnds) {
  const SecondStart cases[] = {
      {"1", "1", false, ""},                      // hidden in the tray from its start
      {"0", "0", true, ""},                       // minimised on the taskbar
      {"1", "0", true, "InstallingTheProgram"},   // the installer's first-run start
  };
  const std::string folder = qtest::MakeTempFolder("qtra_one_copy");
  for (const SecondStart& start : cases) {
    SCOPED_TRACE(std::string("tray ") + start.useTray + ", hide at startup " + start.hideAtStartup + ", \"" +
                 start.arguments + "\"");
    qtest::DeleteRegTree(qtest::kProductKey);
    qtest::WriteRegText(kOptions, "UseSystemTray", start.useTray);
    qtest::WriteRegText(kOptions, "HideInTrayOnStartup", start.hideAtStartup);
    qtest::Program first;
    ASSERT_TRUE(first.Start(qtest::BinPath("qtra.exe"), "", folder));
    HWND main = FindMain(first.Id());
    ASSERT_NE(nullptr, main);
    // Its start ends with its pages made and, at most a moment later, the start-up hiding.
    ASSERT_TRUE(qtest::WaitUntil([&] { return qtest::FindControl(main, CategoryAt(0)->firstEditId) != nullptr; }, 10000));
    ::Sleep(1000);
    if (start.hideByCommand) qtest::PostCommand(main, kHide);
    const bool tray = *start.useTray == '1';
    ASSERT_TRUE(qtest::WaitUntil([&] { return tray ? !::IsWindowVisible(main) : ::IsIconic(main) != 0; }, 10000) ||
                !tray)
        << "the first copy went to the tray";
    if (!tray && !::IsIconic(main)) fprintf(stderr, "this display does not minimise; the restore is not seen\n");

    // What the second start could write: the handle and the settings.
    ASSERT_TRUE(qtest::WriteRegText(kHandles, "TransHandle", "777"));
    ASSERT_TRUE(qtest::DeleteRegTree(kConfigure));
    qtest::Program second;
    ASSERT_TRUE(second.Start(qtest::BinPath("qtra.exe"), start.arguments, folder));
    EXPECT_TRUE(second.WaitForExit(30000)) << "the second copy keeps running";
    EXPECT_TRUE(qtest::WaitUntil([&] { return ::IsWindowVisible(main) && !::IsIconic(main); }, 5000));
    EXPECT_TRUE(qtest::WaitUntil([&] { return ::GetForegroundWindow() == main; }, 5000));
    EXPECT_EQ(1, CountMainWindows());
    EXPECT_EQ("777", qtest::ReadRegText(kHandles, "TransHandle"));
    EXPECT_FALSE(qtest::RegKeyExists(kConfigure)) << "the second copy wrote settings";
    EXPECT_EQ(nullptr, ::FindWindowA(nullptr, "Quantara")) << "no first-run notice over a running copy";

    // In front, and the keys go into the first copy's box.
    const HWND box = qtest::FindControl(main, CategoryAt(kCategoryLength)->firstEditId);
    qtest::PressKey('9');
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(main, nullptr), &info);
    EXPECT_TRUE(qtest::WaitUntil([&] { return qtest::GetText(box) == "9"; }, 5000))
        << qtest::GetText(box) << " focus " << ::GetDlgCtrlID(info.hwndFocus) << " active " << (info.hwndActive == main);
    qtest::PostCommand(main, kRemoteClose);
    EXPECT_TRUE(first.WaitForExit(30000));
  }
}

TEST(ConverterOneCopy, AStartWhileTheRunningCopyEndsRunsOnItsOwn) {
  qtest::DeleteRegTree(qtest::kProductKey);
  const std::string folder = qtest::MakeTempFolder("qtra_one_copy");
  qtest::Program first;
  ASSERT_TRUE(first.Start(qtest::BinPath("qtra.exe"), "", folder));
  HWND main = FindMain(first.Id());
  ASSERT_NE(nullptr, main);
  // The installer's order: close the old copy, wait for its handle to go, start the new one.
  qtest::PostCommand(main, kRemoteClose);
  ASSERT_TRUE(qtest::WaitUntil([] { return qtest::ReadRegText(kHandles, "TransHandle") == "0"; }, 10000));
  qtest::Program second;
  ASSERT_TRUE(second.Start(qtest::BinPath("qtra.exe"), "", folder));
  EXPECT_TRUE(first.WaitForExit(30000));
  HWND next = FindMain(second.Id());
  ASSERT_NE(nullptr, next) << "the new start ended with the old copy";
  EXPECT_TRUE(second.IsRunning());
  qtest::PostCommand(next, kRemoteClose);
  EXPECT_TRUE(second.WaitForExit(30000));
}

TEST(ConverterOneCopy, TheAboutBoxEndsWithTheMainWindow) {
  const struct {
    UINT message;  // the close box, or the installer's request
    bool saves;
  } closes[] = {{WM_CLOSE, true}, {WM_COMMAND, false}};
  const std::string folder = qtest::MakeTempFolder("qtra_about_end");
  for (const auto& close : closes) {
    qtest::DeleteRegTree(qtest::kProductKey);
    qtest::Program qtra;
    ASSERT_TRUE(qtra.Start(qtest::BinPath("qtra.exe"), "", folder));
    HWND main = qtest::WaitForWindow(kTitle, qtra.Id(), 60000);
    ASSERT_NE(nullptr, main);
    ASSERT_TRUE(qtest::SetText(qtest::FindControl(main, CategoryAt(kCategoryLength)->firstEditId), "42"));
    qtest::PostCommand(main, kAbout);
    HWND about = qtest::WaitForWindow("About Quantara", qtra.Id(), 10000);
    ASSERT_NE(nullptr, about);
    ::PostMessageA(main, close.message, close.message == WM_COMMAND ? kRemoteClose : 0, 0);
    EXPECT_TRUE(qtra.WaitForExit(15000)) << "the About box kept the program alive";
    EXPECT_FALSE(::IsWindow(about));
    EXPECT_EQ(close.saves ? "42" : "", qtest::ReadRegText(kConfigure, CategoryAt(kCategoryLength)->units[0].valueName));
    EXPECT_EQ("0", qtest::ReadRegText(kHandles, "TransHandle"));
  }
}

}  // namespace

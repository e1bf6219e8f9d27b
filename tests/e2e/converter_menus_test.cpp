// The real converter's menus and tray icon: the item texts, tray mode and its
// check mark, what minimising and "Hide" do in each mode, the tray clicks,
// start-up hiding, File > Exit and the About box.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/product.h"
#include "converter/app/tray_icon.h"
#include "converter/resources/resource.h"
#include "converter/support/web_addresses.h"
#include "tests/harness/test_support.h"

namespace {

const std::string kOptions = qtest::ProductSubKey("Options");

// The converter's main window, visible or not.
HWND FindMain(DWORD processId) {
  HWND found = nullptr;
  qtest::WaitUntil([&] {
    for (HWND window = ::FindWindowA(nullptr, kMainTitle); window != nullptr;
         window = ::FindWindowExA(nullptr, window, nullptr, kMainTitle)) {
      DWORD owner = 0;
      ::GetWindowThreadProcessId(window, &owner);
      if (owner == processId) found = window;
    }
    return found != nullptr;
  }, 60000);
  return found;
}

bool Visible(HWND window) { return ::IsWindowVisible(window) != 0; }

void TrayClick(HWND main, UINT mouseMessage) { ::PostMessageA(main, TrayCallbackMessage, 1, mouseMessage); }

// A popup menu of process `processId` on screen.
bool PopupMenuShown(DWORD processId) {
  for (HWND window = ::FindWindowA("#32768", nullptr); window != nullptr;
       window = ::FindWindowExA(nullptr, window, "#32768", nullptr)) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == processId && Visible(window)) return true;
  }
  return false;
}

std::string MenuText(HMENU menu, UINT command) {
  char text[256] = {};
  ::GetMenuStringA(menu, command, text, sizeof text, MF_BYCOMMAND);
  return text;
}

TEST(ConverterMenus, TrayModeHideAndStartupHiding) {
  qtest::DeleteRegTree(qtest::kProductKey);
  const std::string folder = qtest::MakeTempFolder("qtra_menus");
  {
    qtest::Program qtra;
    ASSERT_TRUE(qtra.Start(qtest::BinPath("qtra.exe"), "", folder));
    HWND main = qtest::WaitForWindow(kMainTitle, qtra.Id(), 60000);
    ASSERT_NE(nullptr, main);
    qtest::SettleAfterStart();

    // Tray mode (the default): Hide takes the window off the screen; a left
    // click on the tray icon brings it back, a second one hides it again.
    qtest::PostCommand(main, ID_HIDE);
    EXPECT_TRUE(qtest::WaitUntil([&] { return !Visible(main); }, 5000));
    TrayClick(main, WM_LBUTTONUP);
    EXPECT_TRUE(qtest::WaitUntil([&] { return Visible(main) && !::IsIconic(main); }, 5000));
    TrayClick(main, WM_LBUTTONUP);
    EXPECT_TRUE(qtest::WaitUntil([&] { return !Visible(main); }, 5000));
    TrayClick(main, WM_LBUTTONUP);
    EXPECT_TRUE(qtest::WaitUntil([&] { return Visible(main) && !::IsIconic(main); }, 5000));

    // Taskbar mode (the check mark was set, so the toggle clears it):
    // minimising leaves the window on the taskbar, and so does Hide. Each step
    // waits for its own outcome, so a slow restore cannot overtake a later Hide.
    const auto minimisedOnTaskbar = [&] { return Visible(main) && ::IsIconic(main); };
    const auto restored = [&] { return Visible(main) && !::IsIconic(main); };
    qtest::PostCommand(main, ID_OPTIONS_USE_TRAY);
    ::PostMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(qtest::WaitUntil(minimisedOnTaskbar, 5000));
    ::ShowWindowAsync(main, SW_RESTORE);
    EXPECT_TRUE(qtest::WaitUntil(restored, 5000));
    qtest::PostCommand(main, ID_HIDE);
    EXPECT_TRUE(qtest::WaitUntil(minimisedOnTaskbar, 5000)) << "Hide only minimises in taskbar mode";
    ::ShowWindowAsync(main, SW_RESTORE);
    EXPECT_TRUE(qtest::WaitUntil(restored, 5000));
    TrayClick(main, WM_LBUTTONUP);
    ::Sleep(500);
    EXPECT_TRUE(restored()) << "no tray clicks in taskbar mode";

    // Back to tray mode, with start-up hiding; the close box stores both.
    qtest::PostCommand(main, ID_OPTIONS_USE_TRAY);
    qtest::PostCommand(main, ID_OPTIONS_HIDE_AT_STARTUP);
    qtest::PostCommand(main, ID_HIDE);
    EXPECT_TRUE(qtest::WaitUntil([&] { return !Visible(main); }, 5000)) << "tray mode is on again";
    TrayClick(main, WM_LBUTTONUP);
    EXPECT_TRUE(qtest::WaitUntil([&] { return Visible(main); }, 5000));
    ::PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(qtra.WaitForExit(30000));
  }
  EXPECT_EQ("1", qtest::ReadRegText(kOptions, "UseSystemTray"));
  EXPECT_EQ("1", qtest::ReadRegText(kOptions, "HideInTrayOnStartup"));

  {
    // The window goes to the tray as soon as it starts; the tray icon brings it back.
    qtest::Program qtra;
    ASSERT_TRUE(qtra.Start(qtest::BinPath("qtra.exe"), "", folder));
    HWND main = FindMain(qtra.Id());
    ASSERT_NE(nullptr, main);
    EXPECT_TRUE(qtest::WaitUntil([&] { return !Visible(main); }, 10000));
    ::Sleep(500);
    EXPECT_FALSE(Visible(main));
    TrayClick(main, WM_LBUTTONUP);
    EXPECT_TRUE(qtest::WaitUntil([&] { return Visible(main); }, 5000));

    // File > Exit keeps the stored options, whatever changed since the start.
    qtest::PostCommand(main, ID_OPTIONS_USE_TRAY);
    qtest::PostCommand(main, ID_OPTIONS_HIDE_AT_STARTUP);
    qtest::PostCommand(main, 32771);
    ASSERT_TRUE(qtra.WaitForExit(30000));
  }
  EXPECT_EQ("1", qtest::ReadRegText(kOptions, "UseSystemTray"));
  EXPECT_EQ("1", qtest::ReadRegText(kOptions, "HideInTrayOnStartup"));
  EXPECT_EQ("0", qtest::ReadRegText(qtest::ProductSubKey(kHandlesKey), kTransHandleValue));
}

TEST(ConverterMenus, MenuTextsAsBuilt) {
  // The menus as the program carries them; the support addresses come from the
  // same header that the support commands open.
  HMODULE program = ::LoadLibraryExA(qtest::BinPath("qtra.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(nullptr, program);
  HMENU menu = ::LoadMenuA(program, MAKEINTRESOURCEA(141));
  ASSERT_NE(nullptr, menu);
  EXPECT_EQ("E&xit", MenuText(menu, 32771));
  EXPECT_EQ("Use &Tray instead of Taskbar", MenuText(menu, ID_OPTIONS_USE_TRAY));
  EXPECT_EQ("&Hide in Tray at Startup if [Use Tray] is Checked", MenuText(menu, ID_OPTIONS_HIDE_AT_STARTUP));
  EXPECT_EQ("H&ide", MenuText(menu, ID_HIDE));
  EXPECT_EQ("&Help", MenuText(menu, 32775));
  EXPECT_EQ("&ReadMe", MenuText(menu, 32776));
  EXPECT_EQ("&Manual", MenuText(menu, 32777));
  EXPECT_EQ(std::string("&Web site:\t") + kWebSiteHost, MenuText(menu, 32778));
  EXPECT_EQ("&FAQ:\tFrequently Asked Questions", MenuText(menu, 32779));
  EXPECT_EQ(std::string("&Email:\t") + kEmailPageUrl, MenuText(menu, 32780));
  EXPECT_EQ("&Phone:\tMarlowbrook...", MenuText(menu, 32781));
  EXPECT_EQ("&About", MenuText(menu, 32782));
  EXPECT_FALSE(::GetMenuState(menu, ID_OPTIONS_USE_TRAY, MF_BYCOMMAND) & MF_CHECKED);
  char text[64] = {};
  ::GetMenuStringA(menu, 0, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ("&File", text);
  ::GetMenuStringA(menu, 3, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ("&Help", text);
  ::GetMenuStringA(::GetSubMenu(menu, 3), 5, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ("Tech-&Support by:", text);
  ::DestroyMenu(menu);
  HMENU tray = ::LoadMenuA(program, MAKEINTRESOURCEA(142));
  ASSERT_NE(nullptr, tray);
  EXPECT_EQ("E&xit Quantara", MenuText(tray, 32786));
  ::DestroyMenu(tray);
  ::FreeLibrary(program);
}

TEST(ConverterMenus, AboutBoxAndTrayPopup) {
  qtest::DeleteRegTree(qtest::kProductKey);
  // Wine pretends to be Windows 10 to the converter. Its manifest names
  // Windows 10, so it is told 10.0, not the 6.2 of a program without one.
  const std::string wineSettings = "Software\\Wine\\AppDefaults\\qtra.exe";
  qtest::WriteRegText(wineSettings, "Version", "win10");
  qtest::Program qtra;
  ASSERT_TRUE(qtra.Start(qtest::BinPath("qtra.exe"), "", qtest::MakeTempFolder("qtra_about")));
  HWND main = qtest::WaitForWindow(kMainTitle, qtra.Id(), 60000);
  qtest::DeleteRegValue(wineSettings, "Version");  // read once, as the process started
  ASSERT_NE(nullptr, main);

  qtest::PostCommand(main, 32782);
  HWND about = qtest::WaitForWindow("About Quantara", qtra.Id(), 10000);
  ASSERT_NE(nullptr, about);
  const std::string firstLine = "Version: " QTRA_PRODUCT_VERSION " - Windows Type: 2.10.0\nWindows Unknown(3) PF2 10.0, ";
  const std::string text = qtest::GetText(::GetDlgItem(about, 1023));
  EXPECT_EQ(firstLine, text.substr(0, firstLine.size()));
  EXPECT_NE(std::string::npos, text.find("bit, CPU: ", firstLine.size())) << "the system description: " << text;

  // No tray popup while the About box is open.
  TrayClick(main, WM_RBUTTONUP);
  ::Sleep(1000);
  EXPECT_FALSE(PopupMenuShown(qtra.Id()));
  ASSERT_TRUE(qtest::PressButton(about, IDOK));
  EXPECT_TRUE(qtest::WaitUntil([&] { return !::IsWindow(about); }, 5000));

  // Afterwards the right click shows it; its one item exits without saving.
  ASSERT_TRUE(qtest::SetText(qtest::FindControl(main, 1046), "5"));
  TrayClick(main, WM_RBUTTONUP);
  EXPECT_TRUE(qtest::WaitUntil([&] { return PopupMenuShown(qtra.Id()); }, 5000));
  qtest::PressKey(VK_DOWN);
  qtest::PressKey(VK_RETURN);
  EXPECT_TRUE(qtra.WaitForExit(30000));
  EXPECT_EQ("", qtest::ReadRegText(qtest::ProductSubKey("Configure"), "LengthInches"));
}

}  // namespace

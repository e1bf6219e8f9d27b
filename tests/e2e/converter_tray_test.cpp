// The converter's tray icon on a desktop with a shell, driven with the real
// mouse where a user clicks: the icon of tray mode, Hide and the left clicks,
// the popup and its exit, the option that takes the icon away, a shell that
// lost the icon, start-up hiding, and no icon left behind by the ways out.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/product.h"
#include "converter/resources/resource.h"
#include "tests/harness/test_support.h"

namespace {

const UINT kIconId = 1;
const int kLengthInches = 1046;
const std::string kOptions = qtest::ProductSubKey("Options");

bool Visible(HWND window) { return ::IsWindowVisible(window) != 0; }

// A menu command, handled before this returns (none of these opens a modal box).
void Command(HWND window, int command) {
  DWORD_PTR result = 0;
  ::SendMessageTimeoutA(window, WM_COMMAND, command, 0, SMTO_ABORTIFHUNG, 10000, &result);
}

class Converter {
 public:
  // Starts the converter in a folder of its own and finds its main window,
  // shown or not.
  bool Start() {
    if (!m_program.Start(qtest::BinPath("qtra.exe"), "", qtest::MakeTempFolder("qtra_tray"))) return false;
    qtest::WaitUntil([&] {
      for (HWND window = ::FindWindowA(nullptr, kMainTitle); window != nullptr;
           window = ::FindWindowExA(nullptr, window, nullptr, kMainTitle)) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == m_program.Id()) m_main = window;
      }
      return m_main != nullptr;
    }, 60000);
    return m_main != nullptr;
  }
  HWND Main() const { return m_main; }
  qtest::Program& Program() { return m_program; }
  bool IconShown() const { return qtest::NotificationIconShown(m_main, kIconId); }
  bool WaitForIcon() { return qtest::WaitUntil([&] { return IconShown(); }, 5000); }
  bool ClickIcon(bool rightButton = false) {
    POINT icon = {};
    if (!qtest::NotificationIconPoint(&icon)) return false;
    qtest::ClickAt(icon, rightButton);
    return true;
  }
  bool WaitShownInFront() {
    return qtest::WaitUntil([&] {
      return Visible(m_main) && !::IsIconic(m_main) && ::GetForegroundWindow() == m_main;
    }, 5000);
  }
  bool WaitHidden() { return qtest::WaitUntil([&] { return !Visible(m_main); }, 5000); }

 private:
  qtest::Program m_program;
  HWND m_main = nullptr;
};

TEST(ConverterTray, IconOfTrayModeHideAndTheOptionThatRemovesIt) {
  qtest::DeleteRegTree(qtest::kProductKey);
  Converter qtra;
  ASSERT_TRUE(qtra.Start());
  HWND main = qtra.Main();
  ASSERT_TRUE(qtest::WaitUntil([&] { return Visible(main); }, 30000));
  EXPECT_TRUE(qtra.WaitForIcon()) << "a first start is in tray mode";
  qtest::SettleAfterStart();
  ASSERT_NE(nullptr, qtest::FindTaskbar()) << "the tests run on a desktop with a taskbar";

  // Hide leaves the icon as the way back; its left click toggles the window.
  Command(main, ID_HIDE);
  EXPECT_TRUE(qtra.WaitHidden());
  EXPECT_TRUE(qtra.IconShown());
  ASSERT_TRUE(qtra.ClickIcon());
  EXPECT_TRUE(qtra.WaitShownInFront()) << "foreground: " << ::GetForegroundWindow() << ", main: " << main;
  ASSERT_TRUE(qtra.ClickIcon());
  EXPECT_TRUE(qtra.WaitHidden()) << "a left click on the shown window's icon hides it";
  ASSERT_TRUE(qtra.ClickIcon());
  EXPECT_TRUE(qtra.WaitShownInFront());

  // Tray mode off: the icon goes at once and Hide only minimises.
  Command(main, ID_OPTIONS_USE_TRAY);
  EXPECT_FALSE(qtra.IconShown());
  Command(main, ID_HIDE);
  EXPECT_TRUE(qtest::WaitUntil([&] { return ::IsIconic(main) != 0; }, 5000));
  EXPECT_TRUE(Visible(main));
  ::ShowWindow(main, SW_RESTORE);
  Command(main, ID_OPTIONS_USE_TRAY);
  EXPECT_TRUE(qtra.IconShown()) << "tray mode on again adds the icon at once";

  // A shell that lost the icon announces itself; the icon comes back.
  ASSERT_TRUE(qtest::RemoveNotificationIcon(main, kIconId));
  ASSERT_FALSE(qtra.IconShown());
  DWORD_PTR result = 0;
  ::SendMessageTimeoutA(HWND_BROADCAST, ::RegisterWindowMessageA("TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG, 5000,
                        &result);
  EXPECT_TRUE(qtra.WaitForIcon());
  ASSERT_TRUE(qtra.Program().IsRunning());
  ::PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(qtra.Program().WaitForExit(30000));
  EXPECT_FALSE(qtra.IconShown()) << "no icon left by the close box";
}

TEST(ConverterTray, RightClickPopupExitsWithoutSavingAndNotOverTheAboutBox) {
  qtest::DeleteRegTree(qtest::kProductKey);
  Converter qtra;
  ASSERT_TRUE(qtra.Start());
  HWND main = qtra.Main();
  ASSERT_TRUE(qtra.WaitForIcon());
  ASSERT_TRUE(qtest::SetText(qtest::FindControl(main, kLengthInches), "5"));

  qtest::PostCommand(main, ID_HELP_ABOUT);
  HWND about = qtest::WaitForWindow("About Quantara", qtra.Program().Id(), 10000);
  ASSERT_NE(nullptr, about);
  ASSERT_TRUE(qtra.ClickIcon(true));
  ::Sleep(1000);
  EXPECT_EQ(nullptr, qtest::FindPopupMenu(qtra.Program().Id())) << "no popup over the About box";
  ASSERT_TRUE(qtest::PressButton(about, IDOK));
  ASSERT_TRUE(qtest::WaitUntil([&] { return !::IsWindow(about); }, 5000));

  ASSERT_TRUE(qtra.ClickIcon(true));
  HWND popup = nullptr;
  ASSERT_TRUE(qtest::WaitUntil([&] { return (popup = qtest::FindPopupMenu(qtra.Program().Id())) != nullptr; }, 5000));
  // Its one item fills the popup.
  RECT item = {};
  ::GetWindowRect(popup, &item);
  qtest::ClickAt({(item.left + item.right) / 2, (item.top + item.bottom) / 2});
  ASSERT_TRUE(qtra.Program().WaitForExit(30000));
  EXPECT_EQ("", qtest::ReadRegText(qtest::ProductSubKey("Configure"), "LengthInches"));
  EXPECT_FALSE(qtra.IconShown()) << "no icon left by the popup's exit";
}

TEST(ConverterTray, StartedHiddenOnlyTheIconShows) {
  qtest::DeleteRegTree(qtest::kProductKey);
  qtest::WriteRegText(kOptions, "UseSystemTray", "1");
  qtest::WriteRegText(kOptions, "HideInTrayOnStartup", "1");
  Converter qtra;
  ASSERT_TRUE(qtra.Start());
  HWND main = qtra.Main();
  ASSERT_TRUE(qtra.WaitForIcon());
  ::Sleep(1000);
  EXPECT_FALSE(Visible(main));
  ASSERT_TRUE(qtra.ClickIcon());
  EXPECT_TRUE(qtra.WaitShownInFront());

  // Hidden again, then ended by File > Exit.
  Command(main, ID_HIDE);
  EXPECT_TRUE(qtra.WaitHidden());
  qtest::PostCommand(main, ID_FILE_EXIT);
  ASSERT_TRUE(qtra.Program().WaitForExit(30000));
  EXPECT_FALSE(qtra.IconShown()) << "no icon left by File > Exit from the tray";
}

}  // namespace

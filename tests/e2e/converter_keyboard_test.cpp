// The real converter driven from the keyboard, with real key events: where the
// focus is after start and after a tab change, Tab and Shift+Tab through the
// tab strip and the shown page, Ctrl+Tab and Ctrl+PageDown/PageUp, the arrow
// keys in the notation choices, default-button borders and the pages' mnemonics.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "converter/engine/catalogue.h"
#include "converter/engine/conversion.h"
#include "converter/engine/result_format.h"
#include "tests/harness/test_support.h"

namespace {

const char kTitle[] = "Quantara - Version 11.04.01";
const int kTabsId = 1024;

// Presses `keys` together (the first ones are the modifiers) and lets them go.
void Chord(std::initializer_list<WORD> keys) {
  std::vector<INPUT> events;
  for (WORD key : keys) {
    INPUT down = {};
    down.type = INPUT_KEYBOARD;
    down.ki.wVk = key;
    events.push_back(down);
  }
  for (auto key = keys.end(); key != keys.begin();) {
    INPUT up = {};
    up.type = INPUT_KEYBOARD;
    up.ki.wVk = *--key;
    up.ki.dwFlags = KEYEVENTF_KEYUP;
    events.push_back(up);
  }
  ::SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT));
  ::Sleep(80);
}

// The control that holds the keyboard focus in the converter's thread.
HWND FocusOf(HWND main) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(main, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

bool IsDefaultButton(HWND button) {
  return (::GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}

// What a box shows for `typed` in unit `source` with the built-in options.
std::string Expected(int tab, int source, int target, double typed, int notation = kNotationFloat) {
  char text[kResultTextSize];
  FormatResultText(ConvertValue(tab, source, target, typed), notation, 6, 1, text, sizeof text);
  return text;
}

class ConverterKeyboard : public ::testing::Test {
 protected:
  void SetUp() override { folder_ = qtest::MakeTempFolder("qtra_keys"); }
  void TearDown() override { Close(65000); }

  void Start() {
    ASSERT_TRUE(program_.Start(qtest::BinPath("qtra.exe"), "", folder_));
    main_ = qtest::WaitForWindow(kTitle, program_.Id(), 60000);
    ASSERT_NE(nullptr, main_);
    tabs_ = qtest::FindControl(main_, kTabsId);
    ::SetForegroundWindow(main_);
    ASSERT_TRUE(qtest::WaitUntil([&] { return ::GetForegroundWindow() == main_; }, 5000));
  }
  // Ends the program: 65000 without saving, WM_CLOSE (the close box) with.
  void Close(UINT how) {
    if (main_ == nullptr) return;
    if (how == WM_CLOSE) ::PostMessageA(main_, WM_CLOSE, 0, 0);
    else qtest::PostCommand(main_, how);
    EXPECT_TRUE(program_.WaitForExit(30000));
    main_ = nullptr;
  }

  HWND Control(int id) const { return qtest::FindControl(main_, id); }
  HWND Box(int tab, int unit) const { return Control(CategoryAt(tab)->firstEditId + unit); }
  int ShownTab() const { return static_cast<int>(::SendMessageA(tabs_, TCM_GETCURSEL, 0, 0)); }

  // The focus reaches `expected` after a key; says where it is otherwise.
  ::testing::AssertionResult FocusReaches(HWND expected, const char* after) const {
    if (qtest::WaitUntil([&] { return FocusOf(main_) == expected; }, 3000)) return ::testing::AssertionSuccess();
    HWND focus = FocusOf(main_);
    return ::testing::AssertionFailure() << "after " << after << " the focus is on control " << ::GetDlgCtrlID(focus)
                                         << " \"" << qtest::GetText(focus) << "\", not "
                                         << ::GetDlgCtrlID(expected);
  }
  // Typed keys land in `box` and convert: unit `source` of `tab`, to unit `target`.
  void TypeConverts(int tab, int source, const std::string& digits, int target) {
    ASSERT_TRUE(qtest::TypeKeys(main_, digits));
    EXPECT_TRUE(qtest::WaitUntil([&] { return qtest::GetText(Box(tab, source)) == digits; }, 5000))
        << CategoryAt(tab)->name << ": the keys went elsewhere; box holds \"" << qtest::GetText(Box(tab, source))
        << "\"";
    const std::string expected = Expected(tab, source, target, std::stod(digits));
    EXPECT_TRUE(qtest::WaitUntil([&] { return qtest::GetText(Box(tab, target)) == expected; }, 5000))
        << CategoryAt(tab)->name << ": " << qtest::GetText(Box(tab, target)) << " instead of " << expected;
  }

  // Tab order of the shown page `tab`: unit button and box in unit order, the
  // options (only the checked notation choice), the decimals list, the tab strip.
  std::vector<HWND> TabOrder(int tab) const {
    const CategoryInfo& category = *CategoryAt(tab);
    std::vector<HWND> order;
    for (int unit = 0; unit < category.unitCount; ++unit) {
      order.push_back(Control(category.firstButtonId + unit));
      order.push_back(Box(tab, unit));
    }
    order.push_back(Control(category.clearId));
    order.push_back(Control(category.noTrailingZerosId));
    for (int radio : {category.floatRadioId, category.scientificRadioId, category.shorterRadioId})
      if (qtest::IsChecked(Control(radio))) order.push_back(Control(radio));
    order.push_back(Control(category.decimalsListId));
    order.push_back(tabs_);
    return order;
  }

  // Tab (or Shift+Tab) once round page `tab`, from its first box, checking each
  // stop, and that only the focused button looks like the default one.
  void CycleOnce(int tab, bool backwards) {
    const std::vector<HWND> order = TabOrder(tab);
    const CategoryInfo& category = *CategoryAt(tab);
    const size_t start = 1;  // the first unit's box
    ASSERT_TRUE(FocusReaches(order[start], "the start of the round"));
    for (size_t step = 1; step <= order.size(); ++step) {
      const size_t index = backwards ? (start + order.size() - step) % order.size() : (start + step) % order.size();
      if (backwards) Chord({VK_SHIFT, VK_TAB});
      else Chord({VK_TAB});
      ASSERT_TRUE(FocusReaches(order[index], backwards ? "Shift+Tab" : "Tab")) << category.name << " step " << step;
      for (int unit = 0; unit < category.unitCount; ++unit) {
        HWND button = Control(category.firstButtonId + unit);
        if (button != order[index]) EXPECT_FALSE(IsDefaultButton(button)) << category.units[unit].caption << " step " << step;
      }
    }
  }

  qtest::Program program_;
  HWND main_ = nullptr;
  HWND tabs_ = nullptr;
  std::string folder_;
};

TEST_F(ConverterKeyboard, TypingRightAfterStartAndAfterATabChangeGoesIntoTheLastUsedBox) {
  qtest::DeleteRegTree(qtest::kProductKey);
  Start();
  // A first start: the first box of the first page.
  TypeConverts(kCategoryLength, 0, "2", 1);

  // A click on the Area tab (real mouse input), then keys.
  RECT strip = {};
  ::GetWindowRect(tabs_, &strip);
  const int tabWidth = (strip.right - strip.left - 8) / kCategoryCount;
  ::SetCursorPos(strip.left + tabWidth + tabWidth / 2, strip.top + 8);
  INPUT click[2] = {};
  click[0].type = click[1].type = INPUT_MOUSE;
  click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ::SendInput(2, click, sizeof(INPUT));
  ASSERT_TRUE(qtest::WaitUntil([&] { return ShownTab() == kCategoryArea; }, 5000));
  TypeConverts(kCategoryArea, 0, "3", 2);

  // Ctrl+Tab: the next page, its first box.
  Chord({VK_CONTROL, VK_TAB});
  ASSERT_TRUE(qtest::WaitUntil([&] { return ShownTab() == kCategoryVolume; }, 5000));
  TypeConverts(kCategoryVolume, 0, "4", 1);

  // Back on Area, whose last used box is now Yards, after a conversion from it.
  ASSERT_TRUE(qtest::SetText(Box(kCategoryArea, 2), "5"));
  Chord({VK_CONTROL, VK_PRIOR});
  ASSERT_TRUE(qtest::WaitUntil([&] { return ShownTab() == kCategoryArea; }, 5000));
  ASSERT_TRUE(FocusReaches(Box(kCategoryArea, 2), "Ctrl+PageUp"));
  // The box's text is selected, so typing replaces it.
  TypeConverts(kCategoryArea, 2, "6", 0);
  Close(WM_CLOSE);

  // The next start: the saved page and its last used box.
  Start();
  ASSERT_EQ(kCategoryArea, ShownTab());
  TypeConverts(kCategoryArea, 2, "7", 1);
}

TEST_F(ConverterKeyboard, TabAndShiftTabGoRoundTheTabStripAndTheShownPageOnly) {
  qtest::DeleteRegTree(qtest::kProductKey);
  Start();
  CycleOnce(kCategoryLength, false);
  CycleOnce(kCategoryLength, true);
  // Tab from the tab strip itself and back.
  Chord({VK_SHIFT, VK_TAB});
  Chord({VK_SHIFT, VK_TAB});
  ASSERT_TRUE(FocusReaches(tabs_, "Shift+Tab twice"));
  Chord({VK_TAB});
  ASSERT_TRUE(FocusReaches(Control(CategoryAt(kCategoryLength)->firstButtonId), "Tab from the tab strip"));

  // Temperature, reached backwards round the end, has its own, shorter round.
  Chord({VK_CONTROL, VK_SHIFT, VK_TAB});
  ASSERT_TRUE(qtest::WaitUntil([&] { return ShownTab() == kCategoryTemperature; }, 5000));
  CycleOnce(kCategoryTemperature, false);
  CycleOnce(kCategoryTemperature, true);
}

TEST_F(ConverterKeyboard, ControlKeysStepThroughThePagesBothWaysAndWrap) {
  qtest::DeleteRegTree(qtest::kProductKey);
  Start();
  struct Step {
    std::initializer_list<WORD> keys;
    int tab;
  };
  const Step steps[] = {
      {{VK_CONTROL, VK_TAB}, kCategoryArea},          {{VK_CONTROL, VK_NEXT}, kCategoryVolume},
      {{VK_CONTROL, VK_PRIOR}, kCategoryArea},        {{VK_CONTROL, VK_SHIFT, VK_TAB}, kCategoryLength},
      {{VK_CONTROL, VK_PRIOR}, kCategoryTemperature}, {{VK_CONTROL, VK_NEXT}, kCategoryLength},
      {{VK_CONTROL, VK_SHIFT, VK_TAB}, kCategoryTemperature}, {{VK_CONTROL, VK_TAB}, kCategoryLength},
  };
  for (const Step& step : steps) {
    Chord(step.keys);
    const CategoryInfo& category = *CategoryAt(step.tab);
    ASSERT_TRUE(qtest::WaitUntil([&] { return ShownTab() == step.tab; }, 5000))
        << "wanted " << category.name << ", shown tab " << ShownTab();
    HWND box = Box(step.tab, 0);
    EXPECT_TRUE(FocusReaches(box, "a page key")) << category.name;
    for (int tab = 0; tab < kCategoryCount; ++tab)
      EXPECT_EQ(tab == step.tab, ::IsWindowVisible(::GetParent(Box(tab, 0))) != 0) << CategoryAt(tab)->name;
  }
}

TEST_F(ConverterKeyboard, ArrowKeysMoveThroughTheNotationChoicesInOrderAndConvert) {
  qtest::DeleteRegTree(qtest::kProductKey);
  Start();
  const CategoryInfo& length = *CategoryAt(kCategoryLength);
  TypeConverts(kCategoryLength, 0, "3", 1);  // Inches, last used
  HWND radios[] = {Control(length.floatRadioId), Control(length.scientificRadioId), Control(length.shorterRadioId)};
  const int notations[] = {kNotationFloat, kNotationScientific, kNotationShorter};
  Chord({VK_MENU, 'E'});  // the group box's mnemonic: its checked choice
  ASSERT_TRUE(FocusReaches(radios[0], "Alt+E"));
  // Down twice, Down round to the first, Up round to the last, Up twice.
  const struct {
    WORD key;
    int choice;
  } moves[] = {{VK_DOWN, 1}, {VK_DOWN, 2}, {VK_DOWN, 0}, {VK_UP, 2}, {VK_UP, 1}, {VK_UP, 0}, {VK_RIGHT, 1}};
  for (const auto& move : moves) {
    Chord({move.key});
    ASSERT_TRUE(FocusReaches(radios[move.choice], move.key == VK_UP ? "Up" : "Down"));
    for (int choice = 0; choice < 3; ++choice) EXPECT_EQ(choice == move.choice, qtest::IsChecked(radios[choice]));
    const std::string expected = Expected(kCategoryLength, 0, 11, 3, notations[move.choice]);
    EXPECT_TRUE(qtest::WaitUntil([&] { return qtest::GetText(Box(kCategoryLength, 11)) == expected; }, 5000))
        << "not recomputed: " << qtest::GetText(Box(kCategoryLength, 11)) << " instead of " << expected;
  }
}

TEST_F(ConverterKeyboard, MnemonicsActOnTheShownPageOnly) {
  qtest::DeleteRegTree(qtest::kProductKey);
  Start();
  ASSERT_TRUE(qtest::SetText(Box(kCategoryLength, 0), "1"));
  Chord({VK_CONTROL, VK_TAB});
  ASSERT_TRUE(qtest::WaitUntil([&] { return ShownTab() == kCategoryArea; }, 5000));
  ASSERT_TRUE(qtest::SetText(Box(kCategoryArea, 0), "1"));
  const CategoryInfo& length = *CategoryAt(kCategoryLength);
  const CategoryInfo& area = *CategoryAt(kCategoryArea);
  ASSERT_TRUE(qtest::IsChecked(Control(area.noTrailingZerosId)));

  Chord({VK_MENU, 'T'});
  EXPECT_TRUE(qtest::WaitUntil([&] { return !qtest::IsChecked(Control(area.noTrailingZerosId)); }, 3000));
  EXPECT_TRUE(qtest::IsChecked(Control(length.noTrailingZerosId))) << "the hidden page's check box changed";
  Chord({VK_MENU, 'C'});
  EXPECT_TRUE(qtest::WaitUntil([&] { return qtest::GetText(Box(kCategoryArea, 0)).empty(); }, 3000));
  EXPECT_EQ("1", qtest::GetText(Box(kCategoryLength, 0))) << "the hidden page was cleared";
  Chord({VK_MENU, 'R'});
  EXPECT_TRUE(FocusReaches(Control(area.decimalsListId), "Alt+R"));
}

}  // namespace

// The real converter's seven pages: typing into any box fills every other box,
// pasted and keyed input, the unit buttons' clipboard copy, and Escape.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "common/product.h"
#include "converter/engine/catalogue.h"
#include "tests/harness/keystroke_texts.h"
#include "tests/harness/test_support.h"

namespace {

const int kTabsId = 1024;

// What a box shows for `typed` in unit `source` with the built-in options.
std::string Expected(int tab, int source, int target, const std::string& typed, int notation = kNotationFloat,
                     int decimals = 6, int noTrailingZeros = 1) {
  // The page reads at most 100 characters of a box.
  return qtest::TypedTexts(tab, source, typed.substr(0, 100), {notation, decimals, noTrailingZeros})[target];
}

class ConverterPages : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    qtest::DeleteRegTree(qtest::kProductKey);
    m_folder = qtest::MakeTempFolder("qtra_pages");
    m_program = new qtest::Program;
    ASSERT_TRUE(m_program->Start(qtest::BinPath("qtra.exe"), "", m_folder));
    m_main = qtest::WaitForWindow(kMainTitle, m_program->Id(), 60000);
    ASSERT_NE(nullptr, m_main);
    m_tabs = qtest::FindControl(m_main, kTabsId);
  }
  static void TearDownTestSuite() {
    if (m_main != nullptr) qtest::PostCommand(m_main, ID_REMOTE_CLOSE);
    if (m_program != nullptr) {
      m_program->WaitForExit(30000);
      delete m_program;
    }
    m_program = nullptr;
    m_main = nullptr;
  }

  static HWND Box(const CategoryInfo& category, int unit) {
    return qtest::FindControl(m_main, category.firstEditId + unit);
  }

  // Types `typed` into unit `source` of tab `tab` and checks every box.
  static void CheckConversion(int tab, const HWND* boxes, int source, const std::string& typed) {
    const CategoryInfo& category = *CategoryAt(tab);
    ASSERT_TRUE(qtest::SetText(boxes[source], typed));
    for (int target = 0; target < category.unitCount; ++target) {
      std::string shown = qtest::GetText(boxes[target]);
      if (target == source) {
        EXPECT_EQ(typed, shown) << "the typed box is never rewritten";
      } else {
        EXPECT_EQ(Expected(tab, source, target, typed), shown)
            << category.name << ": \"" << typed << "\" in " << category.units[source].caption << " shown in "
            << category.units[target].caption;
      }
    }
  }

  static qtest::Program* m_program;
  static HWND m_main;
  static HWND m_tabs;
  static std::string m_folder;
};

qtest::Program* ConverterPages::m_program = nullptr;
HWND ConverterPages::m_main = nullptr;
HWND ConverterPages::m_tabs = nullptr;
std::string ConverterPages::m_folder;

TEST_F(ConverterPages, EveryPageFillsEveryOtherBox) {
  const char* values[] = {"-2.5", "0", "", "12abc", "abc", "1e3", "1e999", "0.0001", "7"};
  for (int tab = 0; tab < kCategoryCount; ++tab) {
    ASSERT_TRUE(qtest::SelectTab(m_tabs, tab));
    const CategoryInfo& category = *CategoryAt(tab);
    EXPECT_TRUE(::IsWindowVisible(qtest::FindPageOf(m_main, category.firstEditId))) << category.name;
    // Looking a control up walks every window of the program: once per box.
    HWND boxes[32] = {};
    for (int unit = 0; unit < category.unitCount; ++unit) boxes[unit] = Box(category, unit);
    int source = 0;
    for (const char* value : values) {
      CheckConversion(tab, boxes, source, value);
      source = (source + 5) % category.unitCount;
    }
  }
}

TEST_F(ConverterPages, KnownResults) {
  const CategoryInfo& length = *CategoryAt(kCategoryLength);
  ASSERT_TRUE(qtest::SetText(Box(length, 1), "2"));  // Feet
  EXPECT_EQ("24", qtest::GetText(Box(length, 0)));   // Inches
  ASSERT_TRUE(qtest::SetText(Box(length, 10), "1e3"));  // Meters
  EXPECT_EQ("1", qtest::GetText(Box(length, 11)));      // Kilometers
  ASSERT_TRUE(qtest::SetText(Box(length, 0), "12abc"));
  EXPECT_EQ("1", qtest::GetText(Box(length, 1)));
  ASSERT_TRUE(qtest::SetText(Box(length, 0), "abc"));
  EXPECT_EQ("0", qtest::GetText(Box(length, 1)));
  ASSERT_TRUE(qtest::SetText(Box(length, 0), ""));
  EXPECT_EQ("0", qtest::GetText(Box(length, 11)));
  ASSERT_TRUE(qtest::SetText(Box(length, 0), "1e999"));
  EXPECT_EQ("1.#INF", qtest::GetText(Box(length, 10)));
  ASSERT_TRUE(qtest::SetText(Box(length, 0), "-1e999"));
  EXPECT_EQ("-1.#INF", qtest::GetText(Box(length, 10)));

  const CategoryInfo& volume = *CategoryAt(kCategoryVolume);
  ASSERT_TRUE(qtest::SetText(Box(volume, 1), "1"));  // cubic Feet
  EXPECT_EQ("1728", qtest::GetText(Box(volume, 0)));
  ASSERT_TRUE(qtest::SetText(Box(volume, 15), "1"));  // Liters
  EXPECT_EQ("61.02374", qtest::GetText(Box(volume, 0)));

  const CategoryInfo& temperature = *CategoryAt(kCategoryTemperature);
  ASSERT_TRUE(qtest::SetText(Box(temperature, 0), "100"));  // Celsius
  EXPECT_EQ("212", qtest::GetText(Box(temperature, 1)));
  EXPECT_EQ("373.15", qtest::GetText(Box(temperature, 4)));
  ASSERT_TRUE(qtest::SetText(Box(temperature, 0), "-40"));
  EXPECT_EQ("-40.000000", qtest::GetText(Box(temperature, 1))) << "negative texts keep their zeros";
}

// The two entries once listed wrong: a square metre in acres, a metre per second in miles per second.
TEST_F(ConverterPages, AcresAndMilesPerSecondAgreeWithTheirDefinitions) {
  const CategoryInfo& area = *CategoryAt(kCategoryArea);
  ASSERT_TRUE(qtest::SelectTab(m_tabs, kCategoryArea));
  ASSERT_TRUE(qtest::SetText(Box(area, 10), "1"));  // Meters
  EXPECT_EQ("0.000247", qtest::GetText(Box(area, 12)));

  const CategoryInfo& speed = *CategoryAt(kCategorySpeed);
  ASSERT_TRUE(qtest::SelectTab(m_tabs, kCategorySpeed));
  // "Whichever is Shorter" with 12 digits; the choices are posted, so typing waits for them.
  qtest::Click(qtest::FindControl(m_main, speed.shorterRadioId));
  ASSERT_TRUE(qtest::ChooseInList(qtest::FindControl(m_main, speed.decimalsListId), 12));
  const auto shown = [&] {
    return qtest::SetText(Box(speed, 14), "1") ? qtest::GetText(Box(speed, 17)) : std::string();
  };
  EXPECT_TRUE(qtest::WaitUntil([&] { return shown() == "0.000621371192237"; }, 5000))
      << "1 meters/second shows " << shown() << " miles/second";
}

TEST_F(ConverterPages, PasteKeepsAHundredAndOneCharactersAndReadsAHundred) {
  const CategoryInfo& weight = *CategoryAt(kCategoryWeight);
  ASSERT_TRUE(qtest::SelectTab(m_tabs, kCategoryWeight));
  // 100 zeros, then a 7 that the box keeps but the conversion does not read.
  const std::string pasted = std::string(100, '0') + "7" + "99999";
  ASSERT_TRUE(qtest::PasteText(Box(weight, 2), pasted));
  EXPECT_EQ(pasted.substr(0, 101), qtest::GetText(Box(weight, 2)));
  EXPECT_EQ("0", qtest::GetText(Box(weight, 0)));
  // The 100th character still counts.
  const std::string hundred = std::string(99, '0') + "3";
  ASSERT_TRUE(qtest::PasteText(Box(weight, 2), hundred));
  EXPECT_EQ("3000", qtest::GetText(Box(weight, 0)));  // kilograms to grams
}

TEST_F(ConverterPages, RealKeystrokesConvertEachTime) {
  ASSERT_TRUE(qtest::SelectTab(m_tabs, kCategoryLength));
  const CategoryInfo& length = *CategoryAt(kCategoryLength);
  HWND feet = Box(length, 1);
  ASSERT_TRUE(qtest::SetText(feet, ""));
  // A click in the box gives it the keyboard focus.
  ::PostMessageA(feet, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
  ::PostMessageA(feet, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
  ::Sleep(300);
  ASSERT_TRUE(qtest::TypeKeys(m_main, "2"));
  EXPECT_TRUE(qtest::WaitUntil([&] { return qtest::GetText(Box(length, 0)) == "24"; }, 5000))
      << "after 2: " << qtest::GetText(Box(length, 0));
  ASSERT_TRUE(qtest::TypeKeys(m_main, "5"));
  EXPECT_TRUE(qtest::WaitUntil([&] { return qtest::GetText(Box(length, 0)) == "300"; }, 5000))
      << "after 25: " << qtest::GetText(Box(length, 0));
  EXPECT_EQ("25", qtest::GetText(feet));

  // Escape in a page, and a cancel command to the main window, change nothing.
  qtest::PressKey(VK_ESCAPE);
  ::PostMessageA(m_main, WM_COMMAND, IDCANCEL, 0);
  ::PostMessageA(qtest::FindPageOf(m_main, length.firstEditId), WM_COMMAND, IDCANCEL, 0);
  ::Sleep(800);
  EXPECT_TRUE(m_program->IsRunning());
  EXPECT_TRUE(::IsWindowVisible(m_main));
  EXPECT_TRUE(::IsWindowVisible(qtest::FindPageOf(m_main, length.firstEditId)));

  // Enter after typing a value, the most natural key there is, must not end the
  // program without saving what was typed.
  qtest::PressKey(VK_RETURN);
  ::PostMessageA(m_main, WM_COMMAND, IDOK, 0);
  ::Sleep(800);
  EXPECT_TRUE(m_program->IsRunning()) << "Enter ended the converter";
  EXPECT_EQ("25", qtest::GetText(feet));
}

TEST_F(ConverterPages, UnitButtonCopiesItsBoxExactly) {
  ASSERT_TRUE(qtest::SelectTab(m_tabs, kCategoryLength));
  const CategoryInfo& length = *CategoryAt(kCategoryLength);
  ASSERT_TRUE(qtest::SetText(Box(length, 5), "2"));  // Miles
  const std::string meters = qtest::GetText(Box(length, 10));
  ASSERT_EQ(Expected(kCategoryLength, 5, 10, "2"), meters);
  qtest::Click(qtest::FindControl(m_main, length.firstButtonId + 10));
  EXPECT_TRUE(qtest::WaitUntil([&] { return qtest::ReadClipboardText() == meters; }, 5000))
      << "clipboard: " << qtest::ReadClipboardText();
}

}  // namespace

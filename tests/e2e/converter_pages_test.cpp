// The real converter's seven pages: typing into any box fills every other box,
// pasted and keyed input, the unit buttons' clipboard copy, and Escape.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "common/product.h"
#include "converter/engine/catalogue.h"
#include "converter/engine/conversion.h"
#include "converter/engine/number_reading.h"
#include "converter/engine/result_format.h"
#include "tests/harness/test_support.h"

namespace {

const int kTabsId = 1024;

// What a box shows for `typed` in unit `source` with the built-in options.
std::string Expected(int tab, int source, int target, const std::string& typed, int notation = kNotationFloat,
                     int decimals = 6, int noTrailingZeros = 1) {
  const std::string read = typed.substr(0, 100);
  char text[kResultTextSize];
  FormatResultText(ConvertValue(tab, source, target, ReadNumber(read.c_str())), notation, decimals, noTrailingZeros,
                   text, sizeof text);
  return text;
}

class ConverterPages : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    qtest::DeleteRegTree(qtest::kProductKey);
    folder_ = qtest::MakeTempFolder("qtra_pages");
    program_ = new qtest::Program;
    ASSERT_TRUE(program_->Start(qtest::BinPath("qtra.exe"), "", folder_));
    main_ = qtest::WaitForWindow(kMainTitle, program_->Id(), 60000);
    ASSERT_NE(nullptr, main_);
    tabs_ = qtest::FindControl(main_, kTabsId);
  }
  static void TearDownTestSuite() {
    if (main_ != nullptr) qtest::PostCommand(main_, ID_REMOTE_CLOSE);
    if (program_ != nullptr) {
      program_->WaitForExit(30000);
      delete program_;
    }
    program_ = nullptr;
    main_ = nullptr;
  }

  static HWND Box(const CategoryInfo& category, int unit) {
    return qtest::FindControl(main_, category.firstEditId + unit);
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

  static qtest::Program* program_;
  static HWND main_;
  static HWND tabs_;
  static std::string folder_;
};

qtest::Program* ConverterPages::program_ = nullptr;
HWND ConverterPages::main_ = nullptr;
HWND ConverterPages::tabs_ = nullptr;
std::string ConverterPages::folder_;

TEST_F(ConverterPages, EveryPageFillsEveryOtherBox) {
  const char* values[] = {"-2.5", "0", "", "12abc", "abc", "1e3", "1e999", "0.0001", "7"};
  for (int tab = 0; tab < kCategoryCount; ++tab) {
    ASSERT_TRUE(qtest::SelectTab(tabs_, tab));
    const CategoryInfo& category = *CategoryAt(tab);
    EXPECT_TRUE(::IsWindowVisible(qtest::FindPageOf(main_, category.firstEditId))) << category.name;
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

TEST_F(ConverterPages, PasteKeepsAHundredAndOneCharactersAndReadsAHundred) {
  const CategoryInfo& weight = *CategoryAt(kCategoryWeight);
  ASSERT_TRUE(qtest::SelectTab(tabs_, kCategoryWeight));
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
  ASSERT_TRUE(qtest::SelectTab(tabs_, kCategoryLength));
  const CategoryInfo& length = *CategoryAt(kCategoryLength);
  HWND feet = Box(length, 1);
  ASSERT_TRUE(qtest::SetText(feet, ""));
  // A click in the box gives it the keyboard focus.
  ::PostMessageA(feet, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
  ::PostMessageA(feet, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
  ::Sleep(300);
  ASSERT_TRUE(qtest::TypeKeys(main_, "2"));
  EXPECT_TRUE(qtest::WaitUntil([&] { return qtest::GetText(Box(length, 0)) == "24"; }, 5000))
      << "after 2: " << qtest::GetText(Box(length, 0));
  ASSERT_TRUE(qtest::TypeKeys(main_, "5"));
  EXPECT_TRUE(qtest::WaitUntil([&] { return qtest::GetText(Box(length, 0)) == "300"; }, 5000))
      << "after 25: " << qtest::GetText(Box(length, 0));
  EXPECT_EQ("25", qtest::GetText(feet));

  // Escape in a page, and a cancel command to the main window, change nothing.
  qtest::PressKey(VK_ESCAPE);
  ::PostMessageA(main_, WM_COMMAND, IDCANCEL, 0);
  ::PostMessageA(qtest::FindPageOf(main_, length.firstEditId), WM_COMMAND, IDCANCEL, 0);
  ::Sleep(800);
  EXPECT_TRUE(program_->IsRunning());
  EXPECT_TRUE(::IsWindowVisible(main_));
  EXPECT_TRUE(::IsWindowVisible(qtest::FindPageOf(main_, length.firstEditId)));

  // Enter after typing a value, the most natural key there is, must not end the
  // program without saving what was typed.
  qtest::PressKey(VK_RETURN);
  ::PostMessageA(main_, WM_COMMAND, IDOK, 0);
  ::Sleep(800);
  EXPECT_TRUE(program_->IsRunning()) << "Enter ended the converter";
  EXPECT_EQ("25", qtest::GetText(feet));
}

TEST_F(ConverterPages, UnitButtonCopiesItsBoxExactly) {
  ASSERT_TRUE(qtest::SelectTab(tabs_, kCategoryLength));
  const CategoryInfo& length = *CategoryAt(kCategoryLength);
  ASSERT_TRUE(qtest::SetText(Box(length, 5), "2"));  // Miles
  const std::string meters = qtest::GetText(Box(length, 10));
  ASSERT_EQ(Expected(kCategoryLength, 5, 10, "2"), meters);
  qtest::Click(qtest::FindControl(main_, length.firstButtonId + 10));
  EXPECT_TRUE(qtest::WaitUntil([&] { return qtest::ReadClipboardText() == meters; }, 5000))
      << "clipboard: " << qtest::ReadClipboardText();
}

}  // namespace

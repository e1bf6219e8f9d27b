// The real converter's settings: what the close box saves and under which
// names, what a restart restores, the exit paths that save nothing, the
// published window handle, the first-run notice and damaged stored values.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "common/product.h"
#include "converter/engine/catalogue.h"
#include "converter/engine/conversion.h"
#include "converter/engine/number_reading.h"
#include "converter/engine/result_format.h"
#include "tests/harness/test_support.h"

namespace {

const int kTabsId = 1024;
const std::string kConfigure = qtest::ProductSubKey("Configure");
const std::string kOptions = qtest::ProductSubKey("Options");
const std::string kHandles = qtest::ProductSubKey(kHandlesKey);

std::string Expected(int tab, int source, int target, const std::string& typed, int notation, int decimals,
                     int noTrailingZeros) {
  char text[kResultTextSize];
  FormatResultText(ConvertValue(tab, source, target, ReadNumber(typed.substr(0, 100).c_str())), notation, decimals,
                   noTrailingZeros, text, sizeof text);
  return text;
}

// One run of the converter, started in a folder of its own.
class Converter {
 public:
  bool Start(const std::string& arguments = "", bool expectVisible = true) {
    folder_ = qtest::MakeTempFolder("qtra_settings");
    if (!program_.Start(qtest::BinPath("qtra.exe"), arguments, folder_)) return false;
    if (!expectVisible) return true;
    main_ = qtest::WaitForWindow(kMainTitle, program_.Id(), 60000);
    return main_ != nullptr;
  }
  HWND Main() const { return main_; }
  qtest::Program& Program() { return program_; }
  const std::string& Folder() const { return folder_; }
  HWND Control(int id) const { return qtest::FindControl(main_, id); }
  std::string Text(int id) const { return qtest::GetText(Control(id)); }
  // The close box, as the user clicks it.
  bool CloseBox() {
    ::PostMessageA(main_, WM_SYSCOMMAND, SC_CLOSE, 0);
    return program_.WaitForExit(30000);
  }
  bool RemoteClose() {
    qtest::PostCommand(main_, ID_REMOTE_CLOSE);
    return program_.WaitForExit(30000);
  }

 private:
  qtest::Program program_;
  HWND main_ = nullptr;
  std::string folder_;
};

// Every unit box text of every page, by value name.
std::map<std::string, std::string> AllBoxTexts(const Converter& qtra) {
  std::map<std::string, std::string> texts;
  for (int tab = 0; tab < kCategoryCount; ++tab) {
    const CategoryInfo& category = *CategoryAt(tab);
    for (int unit = 0; unit < category.unitCount; ++unit) {
      texts[category.units[unit].valueName] = qtra.Text(category.firstEditId + unit);
    }
  }
  return texts;
}

TEST(ConverterSettings, CloseBoxSavesEverythingAndARestartRestoresIt) {
  qtest::DeleteRegTree(qtest::kProductKey);
  std::map<std::string, std::string> saved;
  {
    Converter qtra;
    ASSERT_TRUE(qtra.Start());
    char handle[32];
    snprintf(handle, sizeof handle, "%lu", HandleToULong(qtra.Main()));
    EXPECT_EQ(handle, qtest::ReadRegText(kHandles, kTransHandleValue));
    // A first start stores its defaults at once.
    EXPECT_EQ(qtra.Folder(), qtest::ReadRegText(kConfigure, kProgramDirValue));
    EXPECT_EQ("0", qtest::ReadRegText(kConfigure, "LastTab"));
    EXPECT_EQ("1", qtest::ReadRegText(kOptions, "UseSystemTray"));
    EXPECT_EQ("0", qtest::ReadRegText(kOptions, "HideInTrayOnStartup"));

    for (int tab = 0; tab < kCategoryCount; ++tab) {
      const CategoryInfo& category = *CategoryAt(tab);
      ASSERT_TRUE(qtest::SetText(qtra.Control(category.firstEditId + 1), tab == kCategoryTemperature ? "-3" : "4.5"));
    }
    // Length: Meters typed, then every option changed; Area: the shorter notation.
    const CategoryInfo& length = *CategoryAt(kCategoryLength);
    ASSERT_TRUE(qtest::SetText(qtra.Control(length.firstEditId + 10), "1234.5"));
    qtest::Click(qtra.Control(length.scientificRadioId));
    qtest::ChooseInList(qtra.Control(length.decimalsListId), 3);
    qtest::Click(qtra.Control(length.noTrailingZerosId));
    const std::string km = Expected(kCategoryLength, 10, 11, "1234.5", kNotationScientific, 3, 0);
    EXPECT_TRUE(qtest::WaitUntil([&] { return qtra.Text(length.firstEditId + 11) == km; }, 5000))
        << "options reconvert from the last used box: " << qtra.Text(length.firstEditId + 11);
    const CategoryInfo& area = *CategoryAt(kCategoryArea);
    qtest::Click(qtra.Control(area.shorterRadioId));
    ASSERT_TRUE(qtest::SelectTab(qtra.Control(kTabsId), kCategoryWeight));
    ::Sleep(500);

    saved = AllBoxTexts(qtra);
    ASSERT_TRUE(qtra.CloseBox());
  }
  EXPECT_EQ("0", qtest::ReadRegText(kHandles, kTransHandleValue)) << "withdrawn when the window is gone";
  for (const auto& box : saved) EXPECT_EQ(box.second, qtest::ReadRegText(kConfigure, box.first)) << box.first;
  const CategoryInfo& length = *CategoryAt(kCategoryLength);
  EXPECT_EQ("0", qtest::ReadRegText(kConfigure, "LengthNoTrailingZeros"));
  EXPECT_EQ("3", qtest::ReadRegText(kConfigure, "LengthRoundOffTo"));
  EXPECT_EQ("2", qtest::ReadRegText(kConfigure, "LengthExpressResultsAs"));
  EXPECT_EQ("1056", qtest::ReadRegText(kConfigure, "LengthLastUsedEB"));
  EXPECT_EQ("3", qtest::ReadRegText(kConfigure, "SquareExpressResultsAs"));
  EXPECT_EQ("1", qtest::ReadRegText(kConfigure, "VelocityNoTrailingZeros"));
  EXPECT_EQ("6", qtest::ReadRegText(kConfigure, "TemperatureRoundOffTo"));
  EXPECT_EQ("1298", qtest::ReadRegText(kConfigure, "TemperatureLastUsedEB"));
  EXPECT_EQ("3", qtest::ReadRegText(kConfigure, "LastTab"));
  EXPECT_EQ("1", qtest::ReadRegText(kOptions, "UseSystemTray"));
  EXPECT_EQ("0", qtest::ReadRegText(kOptions, "HideInTrayOnStartup"));

  // A box edited by hand in the registry comes back as stored: restoring converts nothing.
  qtest::WriteRegText(kConfigure, "LengthInches", "99");
  saved["LengthInches"] = "99";
  {
    Converter qtra;
    ASSERT_TRUE(qtra.Start());
    EXPECT_EQ(saved, AllBoxTexts(qtra));
    HWND tabs = qtra.Control(kTabsId);
    EXPECT_EQ(3, static_cast<int>(::SendMessageA(tabs, TCM_GETCURSEL, 0, 0)));
    EXPECT_TRUE(::IsWindowVisible(qtest::FindPageOf(qtra.Main(), CategoryAt(kCategoryWeight)->firstEditId)));
    EXPECT_FALSE(::IsWindowVisible(qtest::FindPageOf(qtra.Main(), length.firstEditId)));
    EXPECT_TRUE(qtest::IsChecked(qtra.Control(length.scientificRadioId)));
    EXPECT_FALSE(qtest::IsChecked(qtra.Control(length.noTrailingZerosId)));
    EXPECT_EQ(3, qtest::GetListSelection(qtra.Control(length.decimalsListId)));

    // Right after the restart an option reconverts from the restored last used box.
    qtest::Click(qtra.Control(length.floatRadioId));
    const std::string km = Expected(kCategoryLength, 10, 11, saved["LengthMeters"], kNotationFloat, 3, 0);
    EXPECT_TRUE(qtest::WaitUntil([&] { return qtra.Text(length.firstEditId + 11) == km; }, 5000))
        << qtra.Text(length.firstEditId + 11);
    EXPECT_EQ(Expected(kCategoryLength, 10, 0, saved["LengthMeters"], kNotationFloat, 3, 0),
              qtra.Text(length.firstEditId));

    // After Clear an option change fills every box but the last used one with 0.
    qtest::Click(qtra.Control(length.clearId));
    EXPECT_TRUE(qtest::WaitUntil([&] { return qtra.Text(length.firstEditId + 10).empty(); }, 5000));
    EXPECT_EQ("", qtra.Text(length.firstEditId + 3));
    qtest::ChooseInList(qtra.Control(length.decimalsListId), 2);
    EXPECT_TRUE(qtest::WaitUntil([&] { return qtra.Text(length.firstEditId) == "0.00"; }, 5000))
        << qtra.Text(length.firstEditId);
    EXPECT_EQ("0.00", qtra.Text(length.firstEditId + 11));
    EXPECT_EQ("", qtra.Text(length.firstEditId + 10));

    // The installer's close request ends the program without saving.
    ASSERT_TRUE(qtra.RemoteClose());
  }
  EXPECT_EQ("0", qtest::ReadRegText(kHandles, kTransHandleValue));
  EXPECT_EQ("3", qtest::ReadRegText(kConfigure, "LengthRoundOffTo"));
  EXPECT_EQ("2", qtest::ReadRegText(kConfigure, "LengthExpressResultsAs"));
  EXPECT_EQ(saved["LengthMeters"], qtest::ReadRegText(kConfigure, "LengthMeters"));
}

TEST(ConverterSettings, DamagedValuesStartFineAndTheSessionEndSaves) {
  qtest::DeleteRegTree(qtest::kProductKey);
  const CategoryInfo& length = *CategoryAt(kCategoryLength);
  qtest::WriteRegText(kConfigure, "LastTab", "9");
  qtest::WriteRegText(kConfigure, "LengthRoundOffTo", "40");
  qtest::WriteRegText(kConfigure, "LengthExpressResultsAs", "0");
  qtest::WriteRegText(kConfigure, "LengthFeet", "12abc");
  qtest::WriteRegText(kConfigure, "LengthInches", "abc");
  qtest::WriteRegText(kConfigure, "LengthLastUsedEB", "1047");
  qtest::WriteRegText(kOptions, "UseSystemTray", "yes");
  {
    Converter qtra;
    ASSERT_TRUE(qtra.Start());
    HWND tabs = qtra.Control(kTabsId);
    EXPECT_EQ(0, static_cast<int>(::SendMessageA(tabs, TCM_GETCURSEL, 0, 0)));
    EXPECT_TRUE(::IsWindowVisible(qtest::FindPageOf(qtra.Main(), length.firstEditId)));
    EXPECT_EQ("12abc", qtra.Text(length.firstEditId + 1));
    EXPECT_EQ("abc", qtra.Text(length.firstEditId));
    EXPECT_EQ(6, qtest::GetListSelection(qtra.Control(length.decimalsListId)));
    EXPECT_TRUE(qtest::IsChecked(qtra.Control(length.shorterRadioId)));
    // Reconverts from Feet, "12abc" read as 12, with 6 decimals and the shorter notation.
    qtest::Click(qtra.Control(length.noTrailingZerosId));
    const std::string inches = Expected(kCategoryLength, 1, 0, "12abc", kNotationShorter, 6, 0);
    EXPECT_TRUE(qtest::WaitUntil([&] { return qtra.Text(length.firstEditId) == inches; }, 5000))
        << qtra.Text(length.firstEditId);
    // Anything but "1" is taskbar mode: minimising keeps the window on the taskbar.
    ::PostMessageA(qtra.Main(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(qtest::WaitUntil([&] { return ::IsIconic(qtra.Main()) != 0; }, 5000));
    EXPECT_TRUE(::IsWindowVisible(qtra.Main()));
    ASSERT_TRUE(qtra.CloseBox());
  }
  EXPECT_EQ("0", qtest::ReadRegText(kConfigure, "LastTab"));
  EXPECT_EQ("0", qtest::ReadRegText(kOptions, "UseSystemTray"));
  EXPECT_EQ("6", qtest::ReadRegText(kConfigure, "LengthRoundOffTo"));

  qtest::WriteRegText(kConfigure, "LastTab", "-1");
  {
    Converter qtra;
    ASSERT_TRUE(qtra.Start());
    EXPECT_EQ(0, static_cast<int>(::SendMessageA(qtra.Control(kTabsId), TCM_GETCURSEL, 0, 0)));
    EXPECT_TRUE(::IsWindowVisible(qtest::FindPageOf(qtra.Main(), length.firstEditId)));

    // The end of the session saves like the close box; a close after it is swallowed.
    ASSERT_TRUE(qtest::SetText(qtra.Control(length.firstEditId + 4), "8"));
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(qtra.Main(), WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 10000, &result);
    EXPECT_EQ("8", qtest::ReadRegText(kConfigure, "LengthChains"));
    ::PostMessageA(qtra.Main(), WM_CLOSE, 0, 0);
    ::Sleep(1000);
    EXPECT_TRUE(qtra.Program().IsRunning());
    ASSERT_TRUE(qtra.RemoteClose());
  }
}

TEST(ConverterSettings, FirstRunNoticeOnlyForTheWholeArgument) {
  const char kBody[] =
      "Quantara is installed on your Hard-Drive.\n\n"
      "You will notice that a Group has been Created and there are several icons in it. "
      "Among the icons you should see [Quantara], [Help], [Read Me], [Manual], and [UnInstall].\n\n"
      "Select [OK] to start Quantara and converting.";
  {
    Converter qtra;
    ASSERT_TRUE(qtra.Start("iNsTaLlInGtHePrOgRaM", false));
    HWND notice = qtest::WaitForWindow("Quantara", qtra.Program().Id(), 60000);
    ASSERT_NE(nullptr, notice);
    EXPECT_EQ(kBody, qtest::GetText(::GetDlgItem(notice, 1308)));
    EXPECT_EQ(nullptr, ::FindWindowA(nullptr, kMainTitle)) << "the main window waits for the notice";
    ASSERT_TRUE(qtest::PressButton(notice, 1309));
    HWND main = qtest::WaitForWindow(kMainTitle, qtra.Program().Id(), 30000);
    ASSERT_NE(nullptr, main);
    qtest::PostCommand(main, ID_REMOTE_CLOSE);
    ASSERT_TRUE(qtra.Program().WaitForExit(30000));
  }
  {
    Converter qtra;
    ASSERT_TRUE(qtra.Start(std::string(kFirstRunArgument) + "2"));
    ::Sleep(1500);
    EXPECT_EQ(nullptr, ::FindWindowA("#32770", "Quantara")) << "no notice for a longer argument";
    ASSERT_TRUE(qtra.RemoteClose());
  }
}

}  // namespace

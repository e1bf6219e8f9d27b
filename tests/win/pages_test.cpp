// Conversion pages as real windows inside a tab control: typing, options,
// restoring and saving, clipboard, Escape, background erasing, and the page
// templates themselves.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/framework/tab_ctrl.h"
#include "converter/app/app_state.h"
#include "converter/engine/catalogue.h"
#include "converter/engine/temperature.h"
#include "converter/engine/temperature_notes.h"
#include "converter/pages/conversion_page.h"
#include "converter/pages/temperature_page.h"
#include "tests/harness/keystroke_texts.h"
#include "tests/harness/test_support.h"

namespace {

const std::string kConfigure = qtest::ProductSubKey("Configure");

// A result as the engine writes it: the text a page must show.
std::string Expected(int category, int source, int target, double value, int notation = kNotationFloat,
                     int decimals = 6, int noTrailingZeros = 1) {
  return qtest::ConvertedTexts(category, source, value, {notation, decimals, noTrailingZeros})[target];
}

std::string ValueName(int category, const char* word) {
  return std::string(CategoryAt(category)->registryPrefix) + word;
}

void Pump() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}

bool OpenClipboardRetrying(HWND owner) {
  return qtest::WaitUntil([owner] { return ::OpenClipboard(owner) != FALSE; }, 3000, 20);
}

bool PutOnClipboard(HWND owner, const std::string& text) {
  if (!OpenClipboardRetrying(owner)) return false;
  ::EmptyClipboard();
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  memcpy(::GlobalLock(memory), text.c_str(), text.size() + 1);
  ::GlobalUnlock(memory);
  bool stored = ::SetClipboardData(CF_TEXT, memory) != nullptr;
  ::CloseClipboard();
  return stored;
}

std::string ClipboardText(HWND owner) {
  if (!OpenClipboardRetrying(owner)) return "<clipboard busy>";
  std::string text = "<no text>";
  HANDLE data = ::GetClipboardData(CF_TEXT);
  if (data != nullptr) {
    text = static_cast<const char*>(::GlobalLock(data));
    ::GlobalUnlock(data);
  }
  ::CloseClipboard();
  return text;
}

LONG StyleOf(HWND window) { return ::GetWindowLongA(window, GWL_STYLE); }

const char kParentClass[] = "QuantaraPagesTestParent";

class PageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qtest::DeleteRegTree(kConfigure);
    AppExiting = 0;
    PageEraseAllowance = 2;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TAB_CLASSES};
    ::InitCommonControlsEx(&controls);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ::DefWindowProcA;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kParentClass;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    ::RegisterClassA(&windowClass);
    m_parent = ::CreateWindowA(kParentClass, "Pages", WS_OVERLAPPEDWINDOW, 0, 0, 760, 600, nullptr,
                               nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, m_parent);
    HWND tab = ::CreateWindowA(WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 740, 560, m_parent,
                               nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(m_tabs.SubclassWindow(tab));
  }

  void TearDown() override {
    if (m_page) ::DestroyWindow(m_page->m_hWnd);
    m_page.reset();
    ::DestroyWindow(m_parent);
    Pump();
  }

  // Creates the page of `category` as the main window does, and shows it.
  void Open(int category) {
    m_category = category;
    m_page.reset(CreateConversionPage(category));
    ASSERT_TRUE(m_page);
    ASSERT_TRUE(m_page->CreatePage(&m_tabs));
    ::SetWindowPos(m_page->m_hWnd, HWND_TOP, 2, 24, 730, 530, SWP_SHOWWINDOW);
    Pump();
  }

  const CategoryInfo& Info() const { return *CategoryAt(m_category); }
  HWND Item(int id) const { return ::GetDlgItem(m_page->m_hWnd, id); }
  HWND Box(int unit) const { return Item(Info().firstEditId + unit); }
  std::string Text(int unit) const { return qtest::GetText(Box(unit)); }
  std::string TextOf(int id) const { return qtest::GetText(Item(id)); }
  int Units() const { return Info().unitCount; }

  void Type(int unit, const char* keys) {
    for (const char* key = keys; *key != 0; ++key) ::SendMessageA(Box(unit), WM_CHAR, *key, 1);
    Pump();
  }
  void Paste(int unit, const std::string& text) {
    qtest::SetText(Box(unit), text);
    Pump();
  }
  void Press(int id) {
    ::SendMessageA(Item(id), BM_CLICK, 0, 0);
    Pump();
  }
  void ChooseDecimals(int count) {
    ::SendMessageA(Item(Info().decimalsListId), CB_SETCURSEL, count, 0);
    ::SendMessageA(m_page->m_hWnd, WM_COMMAND, MAKEWPARAM(Info().decimalsListId, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(Item(Info().decimalsListId)));
    Pump();
  }
  void Store(const char* word, const std::string& text) {
    ASSERT_TRUE(qtest::WriteRegText(kConfigure, ValueName(m_category, word), text));
  }
  void StoreBox(int unit, const std::string& text) {
    ASSERT_TRUE(qtest::WriteRegText(kConfigure, Info().units[unit].valueName, text));
  }
  std::string Stored(const char* word) const {
    return qtest::ReadRegText(kConfigure, ValueName(m_category, word));
  }

  // Every box but `source` shows `value` converted from `source`.
  void ExpectConverted(int source, double value, int notation = kNotationFloat, int decimals = 6,
                       int noTrailingZeros = 1) {
    for (int unit = 0; unit < Units(); ++unit) {
      if (unit == source) continue;
      EXPECT_EQ(Expected(m_category, source, unit, value, notation, decimals, noTrailingZeros), Text(unit))
          << Info().name << " from unit " << source << " to unit " << unit;
    }
  }

  HWND m_parent = nullptr;
  CTabCtrl m_tabs;
  std::unique_ptr<CConversionPage> m_page;
  int m_category = 0;
};

const int kFeet = 1;

TEST_F(PageTest, EveryKeystrokeIsAFullConversionOnEveryPage) {
  Open(kCategoryLength);
  Type(kFeet, "2");
  ExpectConverted(kFeet, 2);
  EXPECT_EQ("2", Text(kFeet));
  Type(kFeet, "5");
  ExpectConverted(kFeet, 25);
  EXPECT_EQ("25", Text(kFeet));

  for (int category = 0; category < kCategoryCount; ++category) {
    TearDown();
    SetUp();
    Open(category);
    const int last = Units() - 1;
    Type(last, "3.5");
    ExpectConverted(last, 3.5);
  }
}

TEST_F(PageTest, APageObjectBuiltAgainWritesToItsNewBoxes) {
  Open(kCategoryLength);
  Paste(kFeet, "2");
  ::DestroyWindow(m_page->m_hWnd);
  ASSERT_TRUE(m_page->CreatePage(&m_tabs));
  Pump();
  Paste(kFeet, "3");
  ExpectConverted(kFeet, 3);
}

TEST_F(PageTest, TypedTextsReadAsNumbers) {
  Store("NoTrailingZeros", "0");
  Open(kCategoryLength);
  Type(kFeet, "7");
  ::SendMessageA(Box(kFeet), EM_SETSEL, 0, -1);
  ::SendMessageA(Box(kFeet), WM_CLEAR, 0, 0);
  Pump();
  EXPECT_EQ("", Text(kFeet));
  ExpectConverted(kFeet, 0, kNotationFloat, 6, 0);
  EXPECT_EQ("0.000000", Text(0));

  Paste(kFeet, "12abc");
  ExpectConverted(kFeet, 12, kNotationFloat, 6, 0);
  Paste(kFeet, "abc");
  ExpectConverted(kFeet, 0, kNotationFloat, 6, 0);
  Paste(kFeet, "1e3");
  ExpectConverted(kFeet, 1000, kNotationFloat, 6, 0);
  Paste(kFeet, "1e999");
  for (int unit = 0; unit < Units(); ++unit) {
    if (unit == kFeet) continue;
    EXPECT_EQ("1.#INF", Text(unit));
  }
}

TEST_F(PageTest, DeletingTheTextShowsZeroWithoutTrailingZeros) {
  Open(kCategoryLength);
  Type(kFeet, "9");
  ::SendMessageA(Box(kFeet), WM_CHAR, VK_BACK, 1);
  Pump();
  for (int unit = 0; unit < Units(); ++unit) {
    if (unit == kFeet) continue;
    EXPECT_EQ("0", Text(unit));
  }
}

TEST_F(PageTest, ABoxTakes101CharactersAndConvertsFromTheFirst100) {
  Store("NoTrailingZeros", "0");
  Open(kCategoryLength);
  ASSERT_TRUE(PutOnClipboard(m_parent, "1" + std::string(149, '0')));
  ::SendMessageA(Box(kFeet), EM_SETSEL, 0, -1);
  ::SendMessageA(Box(kFeet), WM_PASTE, 0, 0);
  Pump();
  EXPECT_EQ("1" + std::string(100, '0'), Text(kFeet));
  ExpectConverted(kFeet, 1e99, kNotationFloat, 6, 0);

  // Typing stops at the limit as well.
  Paste(kFeet, "");
  for (int i = 0; i < 105; ++i) ::SendMessageA(Box(kFeet), WM_CHAR, '1', 1);
  EXPECT_EQ(std::string(101, '1'), Text(kFeet));
}

TEST_F(PageTest, RestoringShowsTheStoredTextsAndConvertsNothing) {
  for (int category = 0; category < kCategoryCount; ++category) {
    TearDown();
    SetUp();
    m_category = category;
    for (int unit = 0; unit < Units(); ++unit) StoreBox(unit, "stored " + std::to_string(unit * 7));
    Open(category);
    for (int unit = 0; unit < Units(); ++unit) EXPECT_EQ("stored " + std::to_string(unit * 7), Text(unit));
  }
}

TEST_F(PageTest, AnOptionChangeRightAfterStartReconvertsFromTheRestoredLastUsedBox) {
  const int miles = 5;
  const int meters = 10;
  m_category = kCategoryLength;
  Store("LastUsedEB", std::to_string(Info().firstEditId + miles));
  StoreBox(miles, "3");
  StoreBox(meters, "999");  // inconsistent on purpose: edited after the last conversion
  Open(kCategoryLength);
  EXPECT_EQ("999", Text(meters));
  EXPECT_EQ("", Text(0));

  Press(Info().scientificRadioId);
  ExpectConverted(miles, 3, kNotationScientific);
  EXPECT_EQ("3", Text(miles));
}

TEST_F(PageTest, OnAFirstRunAnOptionChangeConvertsTheEmptyFirstBox) {
  Open(kCategoryWeight);
  Press(Info().noTrailingZerosId);  // checked by default: now off
  EXPECT_EQ("", Text(0));
  ExpectConverted(0, 0, kNotationFloat, 6, 0);
  EXPECT_EQ("0.000000", Text(1));
}

TEST_F(PageTest, AfterClearAnOptionChangeFillsEveryBoxButTheLastUsedWithZero) {
  const int yards = 2;
  Open(kCategoryLength);
  Type(yards, "4");
  Press(Info().clearId);
  for (int unit = 0; unit < Units(); ++unit) EXPECT_EQ("", Text(unit));

  ChooseDecimals(2);
  EXPECT_EQ("", Text(yards));
  ExpectConverted(yards, 0, kNotationFloat, 2, 1);
  Press(Info().noTrailingZerosId);
  ExpectConverted(yards, 0, kNotationFloat, 2, 0);
  EXPECT_EQ("0.00", Text(0));
}

TEST_F(PageTest, StoredOptionsOutsideTheirRangeFallBack) {
  m_category = kCategoryLength;
  Store("RoundOffTo", "40");
  Store("ExpressResultsAs", "0");
  Store("NoTrailingZeros", "0");
  Open(kCategoryLength);
  EXPECT_EQ(6, qtest::GetListSelection(Item(Info().decimalsListId)));
  EXPECT_EQ("6", TextOf(Info().decimalsListId));
  EXPECT_TRUE(qtest::IsChecked(Item(Info().shorterRadioId)));
  EXPECT_FALSE(qtest::IsChecked(Item(Info().floatRadioId)));
  EXPECT_FALSE(qtest::IsChecked(Item(Info().noTrailingZerosId)));
  Type(kFeet, "1234567");
  ExpectConverted(kFeet, 1234567, 0, 6, 0);
  m_page->SaveSettings();
  EXPECT_EQ("6", Stored("RoundOffTo"));
  EXPECT_EQ("0", Stored("ExpressResultsAs"));
}

TEST_F(PageTest, StoredOptionsAreShownAndUsed) {
  m_category = kCategorySpeed;
  Store("RoundOffTo", "3");
  Store("ExpressResultsAs", "2");
  Store("NoTrailingZeros", "1");
  Open(kCategorySpeed);
  EXPECT_EQ(3, qtest::GetListSelection(Item(Info().decimalsListId)));
  EXPECT_TRUE(qtest::IsChecked(Item(Info().scientificRadioId)));
  EXPECT_TRUE(qtest::IsChecked(Item(Info().noTrailingZerosId)));
  Type(14, "340");
  ExpectConverted(14, 340, kNotationScientific, 3, 1);
}

TEST_F(PageTest, DecimalsListHoldsZeroToThirtyTwo) {
  Open(kCategoryTemperature);
  HWND list = Item(Info().decimalsListId);
  ASSERT_EQ(33, ::SendMessageA(list, CB_GETCOUNT, 0, 0));
  for (int i = 0; i <= 32; ++i) {
    char entry[16] = {};
    ::SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entry));
    EXPECT_EQ(std::to_string(i), entry);
  }
}

TEST_F(PageTest, AStoredLastUsedOutsideTheBoxesIsIgnored) {
  for (const char* stored : {"1034", "5", "1058", "abc"}) {
    TearDown();
    SetUp();
    m_category = kCategoryLength;
    Store("LastUsedEB", stored);
    StoreBox(3, "kept");
    Open(kCategoryLength);
    Press(Info().floatRadioId);
    ChooseDecimals(4);
    for (int unit = 0; unit < Units(); ++unit) EXPECT_EQ(unit == 3 ? "kept" : "", Text(unit)) << stored;
  }
}

TEST_F(PageTest, UnitButtonCopiesItsBoxExactly) {
  const int meters = 10;
  Open(kCategoryLength);
  Type(kFeet, "2");
  const std::string before = Text(meters);
  ASSERT_TRUE(PutOnClipboard(m_parent, "something else"));
  Press(Info().firstButtonId + meters);
  EXPECT_EQ(before, ClipboardText(m_parent));
  EXPECT_EQ(before, Text(meters));
  ExpectConverted(kFeet, 2);
}

TEST_F(PageTest, EscapeEndsAPageOnlyWhileTheProgramExits) {
  Open(kCategoryArea);
  ::SendMessageA(m_page->m_hWnd, WM_COMMAND, IDCANCEL, 0);
  Pump();
  // The test's parent stays hidden, so the page's own visible style tells.
  EXPECT_TRUE(StyleOf(m_page->m_hWnd) & WS_VISIBLE);
  AppExiting = 1;
  ::SendMessageA(m_page->m_hWnd, WM_COMMAND, IDCANCEL, 0);
  Pump();
  EXPECT_FALSE(StyleOf(m_page->m_hWnd) & WS_VISIBLE);
}

TEST_F(PageTest, BackgroundIsErasedOnlyWhileTheAllowanceLasts) {
  Open(kCategoryVolume);
  HDC screen = ::GetDC(m_page->m_hWnd);
  HDC canvas = ::CreateCompatibleDC(screen);
  HBITMAP surface = ::CreateCompatibleBitmap(screen, 16, 16);
  HGDIOBJ previous = ::SelectObject(canvas, surface);
  RECT all = {0, 0, 16, 16};
  HBRUSH marker = ::CreateSolidBrush(RGB(1, 2, 3));
  const int expectedAllowance[] = {1, 0, 0};
  // Showing the page has used up the allowance; the main window grants two again when moved.
  PageEraseAllowance = 2;
  for (int round = 0; round < 3; ++round) {
    ::FillRect(canvas, &all, marker);
    LRESULT erased = ::SendMessageA(m_page->m_hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas), 0);
    EXPECT_EQ(expectedAllowance[round], PageEraseAllowance) << round;
    EXPECT_EQ(round < 2, erased != 0) << round;
    EXPECT_EQ(round < 2, ::GetPixel(canvas, 5, 5) != RGB(1, 2, 3)) << round;
  }
  ::DeleteObject(marker);
  ::SelectObject(canvas, previous);
  ::DeleteObject(surface);
  ::DeleteDC(canvas);
  ::ReleaseDC(m_page->m_hWnd, screen);
}

TEST_F(PageTest, TemperatureWarnsWhileKelvinIsBelowZero) {
  Open(kCategoryTemperature);
  EXPECT_EQ(kAbsoluteZeroNote, TextOf(kAbsoluteZeroNoteId));
  EXPECT_EQ("", TextOf(kAbsoluteZeroWarningId));

  Type(kKelvin, "-1");
  ExpectConverted(kKelvin, -1);
  EXPECT_EQ(kAbsoluteZeroWarning, TextOf(kAbsoluteZeroWarningId));
  Paste(kKelvin, "1");
  EXPECT_EQ("", TextOf(kAbsoluteZeroWarningId));

  Paste(kCelsius, "-500");
  ExpectConverted(kCelsius, -500);
  EXPECT_EQ(kAbsoluteZeroWarning, TextOf(kAbsoluteZeroWarningId));
  Press(Info().clearId);
  EXPECT_EQ("", Text(kKelvin));
  EXPECT_EQ(kAbsoluteZeroWarning, TextOf(kAbsoluteZeroWarningId));
  Paste(kFahrenheit, "100");
  EXPECT_EQ("", TextOf(kAbsoluteZeroWarningId));
}

TEST_F(PageTest, TemperatureChecksTheRestoredKelvinBox) {
  m_category = kCategoryTemperature;
  StoreBox(kKelvin, "-0.5");
  StoreBox(kCelsius, "20");
  Open(kCategoryTemperature);
  EXPECT_EQ("20", Text(kCelsius));
  EXPECT_EQ(kAbsoluteZeroWarning, TextOf(kAbsoluteZeroWarningId));
}

TEST_F(PageTest, SaveSettingsWritesTheOptionsAndEveryBox) {
  Open(kCategoryDensity);
  Type(4, "1.5");
  ChooseDecimals(9);
  Press(Info().shorterRadioId);
  Press(Info().noTrailingZerosId);
  qtest::DeleteRegTree(kConfigure);
  m_page->SaveSettings();

  EXPECT_EQ("0", Stored("NoTrailingZeros"));
  EXPECT_EQ("9", Stored("RoundOffTo"));
  EXPECT_EQ("3", Stored("ExpressResultsAs"));
  EXPECT_EQ(std::to_string(Info().firstEditId + 4), Stored("LastUsedEB"));
  for (int unit = 0; unit < Units(); ++unit)
    EXPECT_EQ(Text(unit), qtest::ReadRegText(kConfigure, Info().units[unit].valueName)) << unit;

  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExA(HKEY_CURRENT_USER, kConfigure.c_str(), 0, KEY_READ, &key));
  DWORD values = 0;
  ::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                     nullptr, nullptr);
  ::RegCloseKey(key);
  EXPECT_EQ(static_cast<DWORD>(4 + Units()), values);
}

TEST_F(PageTest, LongFloatResultsAreShownWholeAndStoredCutTo201) {
  const int meters = 10;
  const int millimeters = 7;
  Open(kCategoryLength);
  Type(meters, "1e250");
  const std::string shown = Text(millimeters);
  EXPECT_EQ(Expected(kCategoryLength, meters, millimeters, 1e250), shown);
  ASSERT_GT(shown.size(), 201u);
  m_page->SaveSettings();
  EXPECT_EQ(shown.substr(0, 201), qtest::ReadRegText(kConfigure, "LengthMillimeters"));
}

TEST_F(PageTest, FactoryMakesEachPageOfItsOwnClass) {
  for (int category = 0; category < kCategoryCount; ++category) {
    std::unique_ptr<CConversionPage> page(CreateConversionPage(category));
    ASSERT_TRUE(page);
    EXPECT_EQ(CategoryAt(category), &page->Category());
    EXPECT_EQ(category == kCategoryTemperature, dynamic_cast<CTemperaturePage*>(page.get()) != nullptr);
  }
  EXPECT_EQ(nullptr, CreateConversionPage(-1));
  EXPECT_EQ(nullptr, CreateConversionPage(kCategoryCount));
}

// --- The templates -------------------------------------------------------

std::string ClassOf(HWND window) {
  char name[64] = {};
  ::GetClassNameA(window, name, sizeof name);
  return name;
}

RECT RectIn(HWND page, HWND control) {
  RECT rect;
  ::GetWindowRect(control, &rect);
  ::MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

bool IsGroupBox(HWND control) {
  return ClassOf(control) == "Button" && (StyleOf(control) & BS_TYPEMASK) == BS_GROUPBOX;
}

bool Contains(const RECT& outer, const RECT& inner) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

std::string WithoutMnemonic(std::string text) {
  std::string::size_type amp = text.find('&');
  if (amp != std::string::npos) text.erase(amp, 1);
  return text;
}

// Room the caption needs, in pixels: the text plus the box or frame drawn beside it.
SIZE NeededSize(HWND control, int wrapWidth) {
  HDC dc = ::GetDC(control);
  HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0)));
  std::string text = WithoutMnemonic(qtest::GetText(control));
  RECT rect = {0, 0, wrapWidth, 0};
  ::DrawTextA(dc, text.c_str(), -1, &rect, DT_CALCRECT | DT_WORDBREAK);
  ::SelectObject(dc, old);
  ::ReleaseDC(control, dc);
  return {rect.right, rect.bottom};
}

class PageTemplateTest : public PageTest, public ::testing::WithParamInterface<int> {};

TEST_P(PageTemplateTest, ControlsCarryTheCataloguesIdentifiersAndCaptions) {
  Open(GetParam());
  const CategoryInfo& c = Info();
  EXPECT_EQ(c.title, TextOf(c.titleId));
  for (int unit = 0; unit < c.unitCount; ++unit) {
    EXPECT_EQ(c.units[unit].caption, TextOf(c.firstButtonId + unit));
    EXPECT_EQ("Button", ClassOf(Item(c.firstButtonId + unit)));
    EXPECT_EQ("Edit", ClassOf(Box(unit)));
    EXPECT_EQ(101, ::SendMessageA(Box(unit), EM_GETLIMITTEXT, 0, 0));
  }
  EXPECT_EQ("&Clear", TextOf(c.clearId));
  EXPECT_EQ("No &Trailing Zeros", TextOf(c.noTrailingZerosId));
  EXPECT_EQ("&Express Results as:", TextOf(c.expressGroupId));
  EXPECT_EQ("Float only", TextOf(c.floatRadioId));
  EXPECT_EQ("Scientific Notation only", TextOf(c.scientificRadioId));
  EXPECT_EQ("Whichever is Shorter", TextOf(c.shorterRadioId));
  EXPECT_EQ("&Round Decimal", TextOf(c.roundGroupId));
  EXPECT_EQ(BS_AUTOCHECKBOX, StyleOf(Item(c.noTrailingZerosId)) & BS_TYPEMASK);
  EXPECT_TRUE(StyleOf(Item(c.floatRadioId)) & WS_GROUP);
  EXPECT_TRUE(StyleOf(Item(c.roundGroupId)) & WS_GROUP);
  EXPECT_EQ(CBS_DROPDOWNLIST, StyleOf(Item(c.decimalsListId)) & 3);
  EXPECT_EQ(static_cast<LONG>(WS_CHILD), StyleOf(m_page->m_hWnd) & (WS_CHILD | WS_POPUP | WS_CAPTION));
  // Defaults of a first run.
  EXPECT_TRUE(qtest::IsChecked(Item(c.floatRadioId)));
  EXPECT_TRUE(qtest::IsChecked(Item(c.noTrailingZerosId)));
  EXPECT_EQ(6, qtest::GetListSelection(Item(c.decimalsListId)));
}

TEST_P(PageTemplateTest, NothingOverlapsOrIsClipped) {
  Open(GetParam());
  HWND page = m_page->m_hWnd;
  // The page as the template makes it, before the main window resizes it.
  RECT client = {0, 0, 340, 230};
  ::MapDialogRect(page, &client);
  std::vector<HWND> controls;
  for (HWND child = ::GetWindow(page, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
    controls.push_back(child);
  for (HWND a : controls) {
    const int id = ::GetDlgCtrlID(a);
    RECT ra = RectIn(page, a);
    EXPECT_TRUE(Contains(client, ra)) << Info().name << " control " << id << " leaves the page";
    for (HWND b : controls) {
      if (b <= a) continue;
      RECT rb = RectIn(page, b);
      RECT overlap;
      if (!::IntersectRect(&overlap, &ra, &rb)) continue;
      bool nested = (IsGroupBox(a) && Contains(ra, rb)) || (IsGroupBox(b) && Contains(rb, ra));
      EXPECT_TRUE(nested) << Info().name << ": " << id << " overlaps " << ::GetDlgCtrlID(b);
    }
    if (ClassOf(a) == "Edit" || ClassOf(a) == "ComboBox" || qtest::GetText(a).empty()) continue;
    RECT inner;
    ::GetClientRect(a, &inner);
    LONG type = StyleOf(a) & BS_TYPEMASK;
    bool beside = ClassOf(a) == "Button" && (type == BS_AUTOCHECKBOX || type == BS_AUTORADIOBUTTON);
    int room = inner.right - (beside ? 16 : ClassOf(a) == "Button" && !IsGroupBox(a) ? 6 : 0);
    SIZE needed = NeededSize(a, room);
    EXPECT_LE(needed.cx, room) << Info().name << " control " << id << " is clipped";
    if (ClassOf(a) == "Static") {
      EXPECT_LE(needed.cy, inner.bottom) << Info().name << " static " << id;
    }
  }
}

TEST_P(PageTemplateTest, TabOrderFollowsTheUnits) {
  Open(GetParam());
  const CategoryInfo& c = Info();
  std::vector<int> expected;
  for (int unit = 0; unit < c.unitCount; ++unit) {
    expected.push_back(c.firstButtonId + unit);
    expected.push_back(c.firstEditId + unit);
  }
  for (int id : {c.clearId, c.noTrailingZerosId, c.floatRadioId, c.decimalsListId}) expected.push_back(id);
  HWND control = Item(c.firstButtonId);
  for (size_t step = 0; step < expected.size(); ++step) {
    ASSERT_EQ(expected[step], ::GetDlgCtrlID(control)) << c.name << " tab stop " << step;
    control = ::GetNextDlgTabItem(m_page->m_hWnd, control, FALSE);
  }
  EXPECT_EQ(c.firstButtonId, ::GetDlgCtrlID(control));
}

// Every tooltip tool of a page, as "control id:text".
struct PageTools {
  HWND page;
  std::vector<std::string> tools;
};

BOOL CALLBACK CollectPageTools(HWND window, LPARAM data) {
  PageTools* found = reinterpret_cast<PageTools*>(data);
  if (ClassOf(window) != TOOLTIPS_CLASSA) return TRUE;
  const int count = static_cast<int>(::SendMessageA(window, TTM_GETTOOLCOUNT, 0, 0));
  for (int index = 0; index < count; ++index) {
    char text[80] = {};
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.lpszText = text;
    if (!::SendMessageA(window, TTM_ENUMTOOLSA, index, reinterpret_cast<LPARAM>(&tool)) || tool.hwnd != found->page)
      continue;
    ::SendMessageA(window, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    found->tools.push_back(std::to_string(::GetDlgCtrlID(reinterpret_cast<HWND>(tool.uId))) + ":" + text);
  }
  return TRUE;
}

// A tooltip on each unit button says what a click does, with the unit.
TEST_P(PageTemplateTest, UnitButtonsCarryTheirTooltip) {
  Open(GetParam());
  const CategoryInfo& c = Info();
  PageTools search = {m_page->m_hWnd, {}};
  ::EnumThreadWindows(::GetCurrentThreadId(), &CollectPageTools, reinterpret_cast<LPARAM>(&search));
  EXPECT_EQ(static_cast<size_t>(c.unitCount), search.tools.size());
  for (int unit = 0; unit < c.unitCount; ++unit) {
    const std::string expected =
        std::to_string(c.firstButtonId + unit) + ":Copy " + c.units[unit].caption + " to the clipboard";
    EXPECT_NE(search.tools.end(), std::find(search.tools.begin(), search.tools.end(), expected)) << expected;
  }
}

INSTANTIATE_TEST_SUITE_P(AllPages, PageTemplateTest, ::testing::Range(0, kCategoryCount));

}  // namespace

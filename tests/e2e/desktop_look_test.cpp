// How the programs' windows look: the pages' labels sit on the tab's own body
// with visual styles on and off, and at 96, 120 and 144 DPI no text is cut off
// by its control and no two controls overlap. Every case saves what it looked
// at under build/screenshots/.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "common/product.h"
#include "converter/engine/catalogue.h"
#include "tests/harness/test_support.h"

namespace {

const int kTabsId = 1024;
const int kAboutCommand = 32782;
const int kNextId = 1013;
const char kThemeKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";

// A value under HKEY_CURRENT_USER for one case, put back after it, so the
// setting reaches only the programs that case starts.
class ScopedUserValue {
 public:
  ScopedUserValue(const char* key, const char* name, DWORD type, const void* data, DWORD size)
      : m_key(key), m_name(name), m_existed(qtest::ReadRegValue(key, name, &m_old, &m_oldType)) {
    qtest::WriteRegRaw(key, name, type, data, size);
  }
  ~ScopedUserValue() {
    if (!m_existed) qtest::DeleteRegValue(m_key, m_name);
    else qtest::WriteRegRaw(m_key, m_name, m_oldType, m_old.data(), static_cast<DWORD>(m_old.size()));
  }

 private:
  std::string m_key, m_name, m_old;
  DWORD m_oldType = 0;
  bool m_existed;
};

// The screen over a window as the user sees it, 0x00RRGGBB, top row first.
struct Shot {
  RECT area = {};
  std::vector<DWORD> pixels;
  DWORD At(int x, int y) const {
    if (x < area.left || y < area.top || x >= area.right || y >= area.bottom) return 0xFF000000u;
    return pixels[(y - area.top) * (area.right - area.left) + x - area.left] & 0xFFFFFFu;
  }
};

// Also written as build/screenshots/<name>.bmp, for a person to look at.
Shot Capture(HWND window, const std::string& name) {
  Shot shot;
  ::GetWindowRect(window, &shot.area);
  const int width = shot.area.right - shot.area.left, height = shot.area.bottom - shot.area.top;
  BITMAPINFOHEADER header = {sizeof header, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP picture = ::CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits,
                                       nullptr, 0);
  HGDIOBJ old = ::SelectObject(memory, picture);
  ::BitBlt(memory, 0, 0, width, height, screen, shot.area.left, shot.area.top, SRCCOPY);
  ::GdiFlush();
  shot.pixels.assign(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + width * height);
  ::SelectObject(memory, old);
  ::DeleteObject(picture);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);

  const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof header;
  BITMAPFILEHEADER file = {0x4D42, offset + static_cast<DWORD>(shot.pixels.size() * 4), 0, 0, offset};
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&header), sizeof header);
  for (DWORD pixel : shot.pixels) {
    pixel |= 0xFF000000u;  // opaque: viewers read the fourth byte as alpha
    bytes.append(reinterpret_cast<const char*>(&pixel), 4);
  }
  const std::string folder = qtest::BinDir() + "\\..\\..\\screenshots";
  ::CreateDirectoryA(folder.c_str(), nullptr);
  EXPECT_TRUE(qtest::WriteFileBytes(folder + "\\" + name + ".bmp", bytes)) << name;
  return shot;
}

// What a control is, as far as its text and background go.
enum Kind { kOther, kLabel, kCheck, kPush, kGroup, kBox };

Kind KindOf(HWND control) {
  char name[32] = {};
  ::GetClassNameA(control, name, sizeof name);
  const LONG style = ::GetWindowLongA(control, GWL_STYLE);
  const std::string type = name;
  if (type == "Edit" || type == "ComboBox") return kBox;
  if (type == "Static") return (style & SS_TYPEMASK) <= SS_LEFTNOWORDWRAP ? kLabel : kOther;
  if (type != "Button") return kOther;
  switch (style & BS_TYPEMASK) {
    case BS_PUSHBUTTON: case BS_DEFPUSHBUTTON: return kPush;
    case BS_GROUPBOX: return kGroup;
    case BS_CHECKBOX: case BS_AUTOCHECKBOX: case BS_RADIOBUTTON: case BS_AUTORADIOBUTTON: return kCheck;
    default: return kOther;
  }
}

BOOL CALLBACK Collect(HWND window, LPARAM list) {
  if (::IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

// The visible controls anywhere below `window`.
std::vector<HWND> Controls(HWND window) {
  std::vector<HWND> controls;
  ::EnumChildWindows(window, &Collect, reinterpret_cast<LPARAM>(&controls));
  return controls;
}

RECT ScreenRect(HWND window) {
  RECT rect = {};
  ::GetWindowRect(window, &rect);
  return rect;
}

void BringForward(HWND window) {
  ::SetForegroundWindow(window);
  qtest::WaitUntil([&] { return ::GetForegroundWindow() == window; }, 3000);
  ::Sleep(600);  // painting finishes
}

// A converter started afresh, closed at the end.
struct Converter {
  explicit Converter(const char* arguments = "") {
    qtest::DeleteRegTree(qtest::kProductKey);
    started = program.Start(qtest::BinPath("qtra.exe"), arguments, qtest::MakeTempFolder("qtra_look"));
  }
  ~Converter() {
    if (main != nullptr) qtest::PostCommand(main, ID_REMOTE_CLOSE);
    if (!program.WaitForExit(30000)) program.Kill();
  }
  // The main window in front, once the start-up picture has gone.
  HWND Main() {
    main = started ? qtest::WaitForWindow(kMainTitle, program.Id(), 60000) : nullptr;
    if (main != nullptr) {
      qtest::WaitUntil([&] { return OthersHidden(); }, 10000);
      BringForward(main);
    }
    return main;
  }
  bool OthersHidden() const {
    for (HWND window = ::GetTopWindow(nullptr); window != nullptr; window = ::GetWindow(window, GW_HWNDNEXT)) {
      DWORD owner = 0;
      ::GetWindowThreadProcessId(window, &owner);
      if (owner == program.Id() && window != main && ::IsWindowVisible(window)) return false;
    }
    return true;
  }
  qtest::Program program;
  bool started = false;
  HWND main = nullptr;
};

// ---- Labels on the tab body ------------------------------------------------

// The colour most pixels of `rect` have: the background under a label's text.
DWORD Background(const Shot& shot, const RECT& rect) {
  std::map<DWORD, int> counts;
  for (int y = rect.top; y < rect.bottom; ++y)
    for (int x = rect.left; x < rect.right; ++x) ++counts[shot.At(x, y)];
  auto most = counts.begin();
  for (auto it = counts.begin(); it != counts.end(); ++it)
    if (it->second > most->second) most = it;
  return most->first;
}

class PagesOnTabBody : public ::testing::TestWithParam<bool> {};

TEST_P(PagesOnTabBody, LabelsHaveTheBodysColourBeforeAndAfterATabChange) {
  const std::string look = GetParam() ? "styles-on" : "styles-off";
  ScopedUserValue styles(kThemeKey, "ThemeActive", REG_SZ, GetParam() ? "1" : "0", 2);
  Converter qtra;
  HWND main = qtra.Main();
  ASSERT_NE(nullptr, main);
  for (int tab : {kCategoryLength, kCategoryWeight}) {
    const CategoryInfo& category = *CategoryAt(tab);
    if (tab != kCategoryLength) {
      ASSERT_TRUE(qtest::SelectTab(qtest::FindControl(main, kTabsId), tab));
      BringForward(main);
    }
    HWND page = qtest::FindPageOf(main, category.firstEditId);
    const Shot shot = Capture(main, "page-" + look + "-" + category.name);
    int labels = 0;
    for (HWND control : Controls(page)) {
      if (KindOf(control) != kLabel && KindOf(control) != kCheck) continue;
      const RECT rect = ScreenRect(control);
      // The page's right margin holds no control at any height.
      EXPECT_EQ(shot.At(ScreenRect(page).right - 4, (rect.top + rect.bottom) / 2), Background(shot, rect))
          << look << " " << category.name << ": behind \"" << qtest::GetText(control) << "\"";
      ++labels;
    }
    EXPECT_GE(labels, 5) << "the title, the check box and the three radio buttons at least";
  }
}

INSTANTIATE_TEST_SUITE_P(VisualStyles, PagesOnTabBody, ::testing::Values(true, false));

// ---- Layout at each DPI ----------------------------------------------------

class DpiLayout : public ::testing::TestWithParam<int> {
 protected:
  DpiLayout()
      : m_dpiValue(static_cast<DWORD>(GetParam())),
        m_dpi("Control Panel\\Desktop", "LogPixels", REG_DWORD, &m_dpiValue, sizeof m_dpiValue),
        // Said outright: without the value Wine's look varies from session to session.
        m_styles(kThemeKey, "ThemeActive", REG_SZ, "1", 2),
        // The dialogs' font as the programs get it at this DPI.
        m_font(::CreateFontA(-MulDiv(8, GetParam(), 72), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                             "MS Sans Serif")),
        m_dc(::CreateCompatibleDC(nullptr)) {
    ::SelectObject(m_dc, m_font);
  }
  ~DpiLayout() override {
    ::DeleteDC(m_dc);
    ::DeleteObject(m_font);
  }

  int Scaled(int pixelsAt96) const { return MulDiv(pixelsAt96, GetParam(), 96); }
  std::string Name(const char* window) const { return "dpi" + std::to_string(GetParam()) + "-" + window; }

  // Every visible control below `window` shows its whole text, lies inside
  // its parent and overlaps none of its siblings but the group boxes around them.
  void CheckLayout(HWND window, const std::string& what) {
    const std::vector<HWND> controls = Controls(window);
    EXPECT_FALSE(controls.empty()) << what;
    for (HWND control : controls) {
      const Kind kind = KindOf(control);
      const LONG style = ::GetWindowLongA(control, GWL_STYLE);
      const std::string name = what + ": \"" + qtest::GetText(control) + "\"";
      RECT client = {}, parent = {}, inside = {};
      ::GetClientRect(control, &client);
      ::GetClientRect(::GetParent(control), &parent);
      ::MapWindowPoints(::GetParent(control), nullptr, reinterpret_cast<POINT*>(&parent), 2);
      const RECT rect = ScreenRect(control);
      ::IntersectRect(&inside, &rect, &parent);
      EXPECT_TRUE(::EqualRect(&inside, &rect)) << name << " reaches out of its parent";

      // Room beside the text: the box or circle of a check box, a push
      // button's frame, a group box's frame on both sides of its title.
      const int room = client.right - (kind == kCheck ? Scaled(16) : kind == kPush ? Scaled(4) : Scaled(16));
      const std::string text = qtest::GetText(control);
      if (kind == kLabel || ((kind == kCheck || kind == kPush || kind == kGroup) && !text.empty())) {
        const bool wraps = kind == kLabel ? (style & SS_TYPEMASK) <= SS_RIGHT : (style & BS_MULTILINE) != 0;
        RECT need = {0, 0, kind == kLabel ? client.right : room, 0};
        ::DrawTextA(m_dc, text.c_str(), -1, &need,
                    DT_CALCRECT | (wraps ? DT_WORDBREAK : DT_SINGLELINE) | (kind == kLabel && (style & SS_NOPREFIX) ? DT_NOPREFIX : 0));
        EXPECT_LE(need.right, kind == kLabel ? client.right : room) << name << " is cut off at the side";
        // A group box's title sits on its frame: its height is the frame's.
        if (kind != kGroup) {
          EXPECT_LE(need.bottom, client.bottom) << name << " is cut off below";
        }
      }
      if (kind == kBox) {
        TEXTMETRICA metrics = {};
        ::GetTextMetricsA(m_dc, &metrics);
        EXPECT_LE(metrics.tmHeight, client.bottom) << name << " is lower than its text";
      }
      for (HWND other : controls) {
        RECT common = {}, otherRect = ScreenRect(other);
        if (other == control || kind == kGroup || KindOf(other) == kGroup || ::GetParent(other) != ::GetParent(control)) continue;
        EXPECT_FALSE(::IntersectRect(&common, &rect, &otherRect)) << name << " overlaps \"" << qtest::GetText(other) << "\"";
      }
    }
  }

  // Width in pixels of `units` horizontal dialog units at this DPI.
  int DialogWidth(int units) const {
    SIZE alphabet = {};
    ::GetTextExtentPoint32A(m_dc, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &alphabet);
    return MulDiv(units, (alphabet.cx / 26 + 1) / 2, 4);
  }

  DWORD m_dpiValue;
  ScopedUserValue m_dpi, m_styles;
  HFONT m_font;
  HDC m_dc;
};

TEST_P(DpiLayout, ConverterWindowsShowEveryTextWhole) {
  Converter qtra(kFirstRunArgument);
  HWND notice = qtest::WaitForWindow("Quantara", qtra.program.Id(), 60000);
  ASSERT_NE(nullptr, notice);
  BringForward(notice);
  Capture(notice, Name("converter-notice"));
  CheckLayout(notice, Name("notice"));
  qtest::PostCommand(notice, IDOK);

  HWND main = qtra.Main();
  ASSERT_NE(nullptr, main);
  RECT client = {};
  ::GetClientRect(main, &client);
  EXPECT_NEAR(DialogWidth(347), client.right, 3) << "the converter does not run at " << GetParam() << " DPI";
  for (int tab = 0; tab < kCategoryCount; ++tab) {
    ASSERT_TRUE(qtest::SelectTab(qtest::FindControl(main, kTabsId), tab));
    BringForward(main);
    if (tab == kCategoryLength || tab == kCategoryTemperature) Capture(main, Name(CategoryAt(tab)->name));
    CheckLayout(main, Name(CategoryAt(tab)->name));
  }

  qtest::PostCommand(main, kAboutCommand);
  HWND about = qtest::WaitForWindow("About Quantara", qtra.program.Id());
  ASSERT_NE(nullptr, about);
  BringForward(about);
  Capture(about, Name("converter-about"));
  CheckLayout(about, Name("about"));
  qtest::PressButton(about, IDOK);
  qtest::WaitUntil([&] { return !::IsWindow(about); }, 10000);
}

TEST_P(DpiLayout, InstallerLocationPageShowsEveryTextWhole) {
  qtest::Program installer;
  ASSERT_TRUE(installer.Start(qtest::BinPath(kInstallerFileName), "", qtest::MakeTempFolder("qtrasx_look")));
  HWND page = nullptr;
  // The backdrop shares the page's title; the page is the one with Next.
  qtest::WaitUntil([&] {
    for (page = nullptr; (page = ::FindWindowExA(nullptr, page, "#32770", "Quantara Installation")) != nullptr;)
      if (::IsWindowVisible(page) && ::GetDlgItem(page, kNextId) != nullptr) return true;
    return false;
  }, 60000);
  ASSERT_NE(nullptr, page) << qtest::DescribeWindows(installer.Id());
  BringForward(page);
  Capture(page, Name("installer-location"));
  CheckLayout(page, Name("installer location"));
  installer.Kill();  // nothing is installed before Next
}

INSTANTIATE_TEST_SUITE_P(Dpi, DpiLayout, ::testing::Values(96, 120, 144));

}  // namespace

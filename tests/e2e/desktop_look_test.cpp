// How the programs' windows look on the desktop: the pages' labels sit on the
// tab's own body with visual styles on and off, and at 96, 120 and 144 DPI no
// text is cut off by its control and no two controls overlap. Each case saves
// its screenshots under build/screenshots/.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "converter/engine/catalogue.h"
#include "tests/harness/test_support.h"

namespace {

const char kTitle[] = "Quantara - Version 11.04.01";
const int kTabsId = 1024;
const int kAboutCommand = 32782;
const int kNextId = 1013;
const char kThemeKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";
const char kDesktopKey[] = "Control Panel\\Desktop";

// A value under HKEY_CURRENT_USER set for one case and put back after it, so
// the setting reaches only the programs this case starts.
class ScopedUserValue {
 public:
  ScopedUserValue(const char* key, const char* name, DWORD type, const void* data, DWORD size)
      : m_key(key), m_name(name) {
    m_existed = qtest::ReadRegValue(key, name, &m_old, &m_oldType);
    qtest::WriteRegRaw(key, name, type, data, size);
  }
  ~ScopedUserValue() {
    if (m_existed) {
      qtest::WriteRegRaw(m_key, m_name, m_oldType, m_old.data(), static_cast<DWORD>(m_old.size()));
    } else {
      qtest::DeleteRegValue(m_key, m_name);
    }
  }

 private:
  std::string m_key, m_name, m_old;
  DWORD m_oldType = 0;
  bool m_existed = false;
};

// The screen's pixels inside `area`, read as the user sees them.
struct Shot {
  RECT area = {};
  std::vector<DWORD> pixels;  // 0x00RRGGBB, top row first
  int Width() const { return area.right - area.left; }
  int Height() const { return area.bottom - area.top; }
  DWORD At(int x, int y) const {
    if (x < area.left || y < area.top || x >= area.right || y >= area.bottom) return 0xFF000000;
    return pixels[(y - area.top) * Width() + (x - area.left)] & 0xFFFFFF;
  }
};

Shot Capture(HWND window) {
  Shot shot;
  ::GetWindowRect(window, &shot.area);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = shot.Width();
  info.bmiHeader.biHeight = -shot.Height();
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP picture = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (picture != nullptr) {
    HGDIOBJ old = ::SelectObject(memory, picture);
    ::BitBlt(memory, 0, 0, shot.Width(), shot.Height(), screen, shot.area.left, shot.area.top, SRCCOPY);
    ::GdiFlush();
    const DWORD* first = static_cast<const DWORD*>(bits);
    shot.pixels.assign(first, first + shot.Width() * shot.Height());
    ::SelectObject(memory, old);
    ::DeleteObject(picture);
  }
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return shot;
}

// Writes the shot as build/screenshots/<name>.bmp, for a person to look at.
void Save(const Shot& shot, const std::string& name) {
  const std::string folder = qtest::BinDir() + "\\..\\..\\screenshots";
  ::CreateDirectoryA(folder.c_str(), nullptr);
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof header;
  header.biWidth = shot.Width();
  header.biHeight = -shot.Height();
  header.biPlanes = 1;
  header.biBitCount = 32;
  const DWORD imageSize = static_cast<DWORD>(shot.pixels.size() * 4);
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + imageSize;
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&header), sizeof header);
  // Opaque: viewers read the fourth byte as alpha.
  for (DWORD pixel : shot.pixels) {
    pixel |= 0xFF000000u;
    bytes.append(reinterpret_cast<const char*>(&pixel), 4);
  }
  EXPECT_TRUE(qtest::WriteFileBytes(folder + "\\" + name + ".bmp", bytes)) << name;
}

std::string ClassOf(HWND window) {
  char name[64] = {};
  ::GetClassNameA(window, name, sizeof name);
  return name;
}

LONG StyleOf(HWND window) { return ::GetWindowLongA(window, GWL_STYLE); }

bool IsLabelButton(HWND control) {
  switch (StyleOf(control) & BS_TYPEMASK) {
    case BS_CHECKBOX: case BS_AUTOCHECKBOX: case BS_3STATE: case BS_AUTO3STATE:
    case BS_RADIOBUTTON: case BS_AUTORADIOBUTTON:
      return true;
    default:
      return false;
  }
}

bool IsTextStatic(HWND control) {
  switch (StyleOf(control) & SS_TYPEMASK) {
    case SS_LEFT: case SS_CENTER: case SS_RIGHT: case SS_SIMPLE: case SS_LEFTNOWORDWRAP:
      return true;
    default:
      return false;
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

// A converter started afresh, its start-up picture gone, in front.
class Converter {
 public:
  explicit Converter(const char* arguments = "") {
    qtest::DeleteRegTree(qtest::kProductKey);
    m_started = m_program.Start(qtest::BinPath("qtra.exe"), arguments, qtest::MakeTempFolder("qtra_look"));
  }
  ~Converter() {
    if (m_main != nullptr) qtest::PostCommand(m_main, 65000);
    if (!m_program.WaitForExit(30000)) m_program.Kill();
  }
  HWND Main() {
    if (m_main == nullptr && m_started) m_main = qtest::WaitForWindow(kTitle, m_program.Id(), 60000);
    if (m_main != nullptr) BringForward(m_main);
    return m_main;
  }
  DWORD Id() const { return m_program.Id(); }

  // Waits until `window` is the only visible window of the program and in front.
  void BringForward(HWND window) {
    qtest::WaitUntil([&] { return OnlyVisibleWindow(window); }, 10000);
    ::SetForegroundWindow(window);
    qtest::WaitUntil([&] { return ::GetForegroundWindow() == window; }, 3000);
    Settle();
  }
  static void Settle() {
    ::Sleep(600);  // painting finishes
  }

 private:
  bool OnlyVisibleWindow(HWND window) const {
    for (HWND other = ::GetTopWindow(nullptr); other != nullptr; other = ::GetWindow(other, GW_HWNDNEXT)) {
      DWORD owner = 0;
      ::GetWindowThreadProcessId(other, &owner);
      if (owner == m_program.Id() && other != window && ::IsWindowVisible(other)) return false;
    }
    return true;
  }

  qtest::Program m_program;
  bool m_started = false;
  HWND m_main = nullptr;
};

// ---- Labels on the tab body ------------------------------------------------

// The colour most of the control's pixels have: its background under the text.
DWORD BackgroundOf(const Shot& shot, const RECT& control) {
  std::map<DWORD, int> counts;
  for (int y = control.top; y < control.bottom; ++y)
    for (int x = control.left; x < control.right; ++x) ++counts[shot.At(x, y)];
  DWORD best = 0;
  int most = -1;
  for (const auto& entry : counts)
    if (entry.second > most) best = entry.first, most = entry.second;
  return best;
}

// Returns how many labels were compared with the page's body beside them.
int CheckLabelsOnBody(HWND page, const Shot& shot, const std::string& what) {
  RECT pageRect = {};
  ::GetWindowRect(page, &pageRect);
  int checked = 0;
  for (HWND control : Controls(page)) {
    const std::string type = ClassOf(control);
    if (!((type == "Static" && IsTextStatic(control)) || (type == "Button" && IsLabelButton(control)))) continue;
    RECT rect = {};
    ::GetWindowRect(control, &rect);
    // The page's right margin holds no control at any height.
    const DWORD body = shot.At(pageRect.right - 4, (rect.top + rect.bottom) / 2);
    EXPECT_EQ(body, BackgroundOf(shot, rect)) << what << ": behind \"" << qtest::GetText(control) << "\"";
    ++checked;
  }
  return checked;
}

class PagesOnTabBody : public ::testing::TestWithParam<bool> {};

TEST_P(PagesOnTabBody, LabelsHaveTheBodysColourBeforeAndAfterATabChange) {
  const bool styles = GetParam();
  ScopedUserValue theme(kThemeKey, "ThemeActive", REG_SZ, styles ? "1" : "0", 2);
  const std::string look = styles ? "styles-on" : "styles-off";
  Converter qtra;
  HWND main = qtra.Main();
  ASSERT_NE(nullptr, main);
  HWND tabs = qtest::FindControl(main, kTabsId);
  for (int tab : {kCategoryLength, kCategoryWeight}) {
    if (tab != kCategoryLength) {
      ASSERT_TRUE(qtest::SelectTab(tabs, tab));
      Converter::Settle();
    }
    const CategoryInfo& category = *CategoryAt(tab);
    HWND page = qtest::FindPageOf(main, category.firstEditId);
    ASSERT_TRUE(page != nullptr && ::IsWindowVisible(page)) << category.name;
    const Shot shot = Capture(main);
    Save(shot, "page-" + look + "-" + category.name);
    // The title, the check box and the three radio buttons at least.
    EXPECT_GE(CheckLabelsOnBody(page, shot, look + " " + category.name), 5);
  }
}

INSTANTIATE_TEST_SUITE_P(VisualStyles, PagesOnTabBody, ::testing::Values(true, false));

// ---- Layout at each DPI ----------------------------------------------------

struct Layout {
  int dpi;
  HFONT font;  // the dialogs' font as the programs get it at this DPI
  HDC dc;
};

SIZE TextExtent(const Layout& layout, HWND control, int width, UINT flags) {
  std::string text = qtest::GetText(control);
  RECT need = {0, 0, width, 0};
  ::DrawTextA(layout.dc, text.c_str(), -1, &need, flags | DT_CALCRECT);
  return {need.right - need.left, need.bottom - need.top};
}

// Room a control needs beside its text: the check box or radio circle, frames.
int Scaled(const Layout& layout, int pixelsAt96) { return MulDiv(pixelsAt96, layout.dpi, 96); }

// Every visible control of `window` shows its whole text, lies inside its
// parent, and overlaps none of its siblings.
void CheckLayout(const Layout& layout, HWND window, const std::string& what) {
  const std::vector<HWND> controls = Controls(window);
  EXPECT_FALSE(controls.empty()) << what;
  for (HWND control : controls) {
    const std::string type = ClassOf(control);
    const std::string text = qtest::GetText(control);
    const std::string name = what + ": " + type + " \"" + text + "\"";
    RECT client = {}, rect = {}, parent = {};
    ::GetClientRect(control, &client);
    ::GetWindowRect(control, &rect);
    ::GetClientRect(::GetParent(control), &parent);
    ::MapWindowPoints(::GetParent(control), nullptr, reinterpret_cast<POINT*>(&parent), 2);
    RECT inside = {};
    ::IntersectRect(&inside, &rect, &parent);
    EXPECT_TRUE(::EqualRect(&inside, &rect)) << name << " reaches out of its parent";

    const LONG style = StyleOf(control);
    const bool wraps = type == "Static" ? (style & SS_TYPEMASK) <= SS_RIGHT : (style & BS_MULTILINE) != 0;
    const UINT flags = (wraps ? DT_WORDBREAK : DT_SINGLELINE) | ((style & SS_NOPREFIX) && type == "Static" ? DT_NOPREFIX : 0);
    int room = client.right;
    if (type == "Button" && IsLabelButton(control)) room -= Scaled(layout, 13 + 3);
    else if (type == "Button" && (style & BS_TYPEMASK) != BS_GROUPBOX) room -= Scaled(layout, 4);
    else if (type == "Button") room -= Scaled(layout, 16);  // the frame on both sides of a group's title
    const bool hasText = !text.empty() && (type == "Button" || (type == "Static" && IsTextStatic(control)));
    if (hasText) {
      const SIZE need = TextExtent(layout, control, wraps ? room : 32767, flags);
      EXPECT_LE(need.cx, room) << name << " is cut off at the side";
      // A group box's title sits on its top edge; its height is the frame's.
      if ((style & BS_TYPEMASK) != BS_GROUPBOX || type != "Button") {
        EXPECT_LE(need.cy, client.bottom) << name << " is cut off below";
      }
    }
    if (type == "Edit" || type == "ComboBox") {
      TEXTMETRICA metrics = {};
      ::GetTextMetricsA(layout.dc, &metrics);
      EXPECT_LE(metrics.tmHeight, client.bottom) << name << " is lower than its text";
    }
    // Siblings: none lies over another, but for the group boxes framing them.
    if (type == "Button" && (style & BS_TYPEMASK) == BS_GROUPBOX) continue;
    for (HWND other : controls) {
      if (other == control || ::GetParent(other) != ::GetParent(control)) continue;
      if (ClassOf(other) == "Button" && (StyleOf(other) & BS_TYPEMASK) == BS_GROUPBOX) continue;
      RECT otherRect = {}, common = {};
      ::GetWindowRect(other, &otherRect);
      EXPECT_FALSE(::IntersectRect(&common, &rect, &otherRect))
          << name << " overlaps \"" << qtest::GetText(other) << "\"";
    }
  }
}

class DpiLayout : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    const DWORD dpi = static_cast<DWORD>(GetParam());
    m_dpi.reset(new ScopedUserValue(kDesktopKey, "LogPixels", REG_DWORD, &dpi, sizeof dpi));
    // Said outright: without the value Wine's choice of look varies from run to run.
    m_styles.reset(new ScopedUserValue(kThemeKey, "ThemeActive", REG_SZ, "1", 2));
    m_layout.dpi = GetParam();
    m_layout.font = ::CreateFontA(-MulDiv(8, m_layout.dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                  DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif");
    m_layout.dc = ::CreateCompatibleDC(nullptr);
    m_oldFont = ::SelectObject(m_layout.dc, m_layout.font);
  }
  void TearDown() override {
    ::SelectObject(m_layout.dc, m_oldFont);
    ::DeleteDC(m_layout.dc);
    ::DeleteObject(m_layout.font);
    m_dpi.reset();
    m_styles.reset();
  }

  // The dialog's width in pixels for `units` horizontal dialog units at this DPI.
  int DialogWidth(int units) const {
    SIZE alphabet = {};
    const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    ::GetTextExtentPoint32A(m_layout.dc, letters, 52, &alphabet);
    return MulDiv(units, (alphabet.cx / 26 + 1) / 2, 4);
  }

  std::string Name(const char* window) const { return "dpi" + std::to_string(m_layout.dpi) + "-" + window; }

  Layout m_layout = {};
  std::unique_ptr<ScopedUserValue> m_dpi;
  std::unique_ptr<ScopedUserValue> m_styles;
  HGDIOBJ m_oldFont = nullptr;
};

TEST_P(DpiLayout, ConverterWindowsShowEveryTextWhole) {
  Converter qtra("InstallingTheProgram");
  HWND notice = qtest::WaitForWindow("Quantara", qtra.Id(), 60000);
  ASSERT_NE(nullptr, notice);
  qtra.BringForward(notice);
  Save(Capture(notice), Name("converter-notice"));
  CheckLayout(m_layout, notice, Name("notice"));
  qtest::PostCommand(notice, IDOK);

  HWND main = qtra.Main();
  ASSERT_NE(nullptr, main);
  RECT client = {};
  ::GetClientRect(main, &client);
  // The window follows the DPI's font: 347 dialog units wide.
  EXPECT_NEAR(DialogWidth(347), client.right, 3) << "the converter does not run at " << m_layout.dpi << " DPI";
  HWND tabs = qtest::FindControl(main, kTabsId);
  for (int tab = 0; tab < kCategoryCount; ++tab) {
    ASSERT_TRUE(qtest::SelectTab(tabs, tab));
    Converter::Settle();
    const CategoryInfo& category = *CategoryAt(tab);
    if (tab == kCategoryLength || tab == kCategoryTemperature) Save(Capture(main), Name(category.name));
    // The whole window: the tab strip and the shown page with its controls.
    CheckLayout(m_layout, main, Name(category.name));
  }

  qtest::PostCommand(main, kAboutCommand);
  HWND about = qtest::WaitForWindow("About Quantara", qtra.Id());
  ASSERT_NE(nullptr, about);
  qtra.BringForward(about);
  Save(Capture(about), Name("converter-about"));
  CheckLayout(m_layout, about, Name("about"));
  qtest::PressButton(about, IDOK);
  qtest::WaitUntil([&] { return !::IsWindow(about); }, 10000);
}

TEST_P(DpiLayout, InstallerLocationPageShowsEveryTextWhole) {
  qtest::Program installer;
  ASSERT_TRUE(installer.Start(qtest::BinPath("qtrasx.exe"), "", qtest::MakeTempFolder("qtrasx_look")));
  HWND page = nullptr;
  qtest::WaitUntil([&] {
    page = nullptr;
    for (HWND window = ::GetTopWindow(nullptr); window != nullptr; window = ::GetWindow(window, GW_HWNDNEXT)) {
      DWORD owner = 0;
      ::GetWindowThreadProcessId(window, &owner);
      if (owner == installer.Id() && ::IsWindowVisible(window) && ::GetDlgItem(window, kNextId) != nullptr) page = window;
    }
    return page != nullptr;
  }, 60000);
  ASSERT_NE(nullptr, page) << qtest::DescribeWindows(installer.Id());
  ::SetForegroundWindow(page);
  Converter::Settle();
  Save(Capture(page), Name("installer-location"));
  CheckLayout(m_layout, page, Name("installer location"));
  installer.Kill();  // nothing is installed before Next
}

INSTANTIATE_TEST_SUITE_P(Dpi, DpiLayout, ::testing::Values(96, 120, 144));

}  // namespace

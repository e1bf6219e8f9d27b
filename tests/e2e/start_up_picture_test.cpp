// The start-up picture as the shipped programs carry it: Windows decodes it
// from their resources at full size, with a sky that brightens row by row,
// each row one even colour (no bands going back, no dithering noise).
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/harness/test_support.h"

namespace {

struct Carrier {
  const char* program;
  WORD bitmapId;
};

const Carrier kCarriers[] = {{"qtra.exe", 136}, {"qtrasx.exe", 129}};

TEST(StartUpPicture, DecodesWithAnEvenSkyInBothPrograms) {
  for (const Carrier& carrier : kCarriers) {
    SCOPED_TRACE(carrier.program);
    HMODULE module = ::LoadLibraryExA(qtest::BinPath(carrier.program).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, module);
    HBITMAP picture = ::LoadBitmapA(module, MAKEINTRESOURCEA(carrier.bitmapId));
    ASSERT_NE(nullptr, picture);
    BITMAP info = {};
    ::GetObjectA(picture, sizeof info, &info);
    EXPECT_EQ(480, info.bmWidth);
    EXPECT_EQ(344, info.bmHeight);

    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HGDIOBJ previous = ::SelectObject(memory, picture);
    // The left margin holds only sky: top row the gradient's first colour.
    EXPECT_EQ(RGB(0xdc, 0xec, 0xff), ::GetPixel(memory, 0, 0));
    COLORREF above = ::GetPixel(memory, 0, 0);
    int unevenRows = 0, darkerRows = 0;
    for (int y = 0; y < info.bmHeight; ++y) {
      const COLORREF row = ::GetPixel(memory, 0, y);
      for (int x = 1; x < 24; ++x)
        if (::GetPixel(memory, x, y) != row) {
          ++unevenRows;
          break;
        }
      if (GetRValue(row) < GetRValue(above) || GetGValue(row) < GetGValue(above) || GetBValue(row) != 0xff)
        ++darkerRows;
      above = row;
    }
    EXPECT_EQ(0, unevenRows);
    EXPECT_EQ(0, darkerRows);
    EXPECT_GE(GetRValue(above), 0xfd) << "the bottom row is nearly white";
    ::SelectObject(memory, previous);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    ::DeleteObject(picture);
    ::FreeLibrary(module);
  }
}

}  // namespace

// Resource helpers: writing an embedded file, painting the splash picture.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "common/ui_helpers.h"
#include "tests/harness/test_support.h"

namespace {

std::string Payload() {
  std::string bytes;
  for (int round = 0; round < 3; ++round)
    for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
  return bytes + std::string("\0\0end", 5);
}

TEST(SaveResourceToFile, WritesTheResourceByteForByteOverALongerFile) {
  std::string folder = qtest::MakeTempFolder("resources");
  std::string path = folder + "\\payload.bin";
  ASSERT_TRUE(qtest::WriteFileBytes(path, std::string(5000, 'x')));
  EXPECT_EQ(1, SaveResourceToFile(nullptr, 300, path.c_str()));
  EXPECT_EQ(Payload(), qtest::ReadFileBytes(path));
  qtest::DeleteFolderTree(folder);
}

TEST(SaveResourceToFile, FailsSilentlyForMissingResourceOrFolder) {
  std::string folder = qtest::MakeTempFolder("resources_missing");
  std::string path = folder + "\\none.bin";
  EXPECT_EQ(0, SaveResourceToFile(nullptr, 301, path.c_str()));
  EXPECT_FALSE(qtest::FileExists(path));
  EXPECT_EQ(0, SaveResourceToFile(nullptr, 300, (folder + "\\no such folder\\x.bin").c_str()));
  qtest::DeleteFolderTree(folder);
}

TEST(WriteResourceFile, TellsWhichStepFailedWithoutAMessage) {
  std::string folder = qtest::MakeTempFolder("resources_outcome");
  const struct {
    WORD id;
    std::string path;
    ResourceWrite expected;
  } cases[] = {
      {300, folder + "\\written.bin", ResourceWrite::kWritten},
      {301, folder + "\\none.bin", ResourceWrite::kNoResource},
      {300, folder + "\\no such folder\\x.bin", ResourceWrite::kNotOpened},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.expected, WriteResourceFile(c.id, c.path.c_str())) << c.path;
    EXPECT_EQ(c.expected == ResourceWrite::kWritten, qtest::FileExists(c.path)) << c.path;
  }
  EXPECT_EQ(nullptr, qtest::WaitForMessageBox(kProductName, "", ::GetCurrentProcessId(), 300));
  qtest::DeleteFolderTree(folder);
}

TEST(PaintCentredBitmap, DrawsThePictureInTheMiddleOfTheClientArea) {
  HWND window = ::CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                ::GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(nullptr, window);
  RECT client;
  ::GetClientRect(window, &client);
  HDC screen = ::GetDC(nullptr);
  HDC canvas = ::CreateCompatibleDC(screen);
  HBITMAP surface = ::CreateCompatibleBitmap(screen, client.right, client.bottom);
  HGDIOBJ previous = ::SelectObject(canvas, surface);
  RECT all = {0, 0, client.right, client.bottom};
  ::FillRect(canvas, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));

  EXPECT_EQ(0, PaintCentredBitmap(window, canvas, 20, 10));

  const int left = client.right / 2 - 10;
  const int top = client.bottom / 2 - 5;
  EXPECT_EQ(RGB(255, 0, 0), ::GetPixel(canvas, left, top));
  EXPECT_EQ(RGB(255, 0, 0), ::GetPixel(canvas, left + 19, top + 9));
  EXPECT_EQ(RGB(255, 255, 255), ::GetPixel(canvas, left - 1, top));
  EXPECT_EQ(RGB(255, 255, 255), ::GetPixel(canvas, left + 20, top + 9));
  EXPECT_EQ(RGB(255, 255, 255), ::GetPixel(canvas, left, top + 10));

  ::SelectObject(canvas, previous);
  ::DeleteObject(surface);
  ::DeleteDC(canvas);
  ::ReleaseDC(nullptr, screen);
  ::DestroyWindow(window);
}

TEST(LoadBitmapResource, LoadsByIdentifier) {
  HBITMAP picture = LoadBitmapResource(136);
  ASSERT_NE(nullptr, picture);
  BITMAP info = {};
  ::GetObjectA(picture, sizeof info, &info);
  EXPECT_EQ(20, info.bmWidth);
  EXPECT_EQ(10, info.bmHeight);
  ::DeleteObject(picture);
  EXPECT_EQ(nullptr, LoadBitmapResource(137));
}

}  // namespace

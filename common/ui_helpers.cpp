#include "common/ui_helpers.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cstdio>

#include "common/product.h"

#ifndef QTRA_SPLASH_BITMAP_ID
#error "QTRA_SPLASH_BITMAP_ID names the program's splash bitmap"
#endif

#ifdef QTRA_CONVERTER_BUILD
int TimeChangeBreaks = 0;
int AppClosing = 0;
#endif

namespace {

// Elapsed wall time in milliseconds; unsigned arithmetic survives the counter's wrap.
DWORD Now() { return ::GetTickCount(); }

}  // namespace

void DispatchPendingMessages() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}

#ifdef QTRA_CONVERTER_BUILD
void PumpMessagesFor(unsigned long milliseconds, int mode) {
#else
void PumpMessagesFor(unsigned long milliseconds) {
#endif
  const DWORD step = milliseconds > 1000 ? 100 : 1;
  const DWORD start = Now();
  for (;;) {
    DispatchPendingMessages();
    ::Sleep(step);
#ifdef QTRA_CONVERTER_BUILD
    if (TimeChangeBreaks > 0) {
      --TimeChangeBreaks;
      return;
    }
#endif
    if (Now() - start >= milliseconds) return;
#ifdef QTRA_CONVERTER_BUILD
    if (AppClosing && mode != 1) return;
#endif
  }
}

ResourceWrite WriteResourceFile(WORD id, const char* path) {
  HMODULE module = ::GetModuleHandleA(nullptr);
  HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  if (resource == nullptr) return ResourceWrite::kNoResource;
  HGLOBAL loaded = ::LoadResource(module, resource);
  DWORD size = ::SizeofResource(module, resource);
  const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
  if (bytes == nullptr || size == 0) return ResourceWrite::kNoResource;

  int file = _open(path, _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, _S_IREAD | _S_IWRITE);
  if (file < 0) return ResourceWrite::kNotOpened;
  int written = _write(file, bytes, size);
  bool complete = written >= 0 && static_cast<DWORD>(written) == size;
  _close(file);
  return complete ? ResourceWrite::kWritten : ResourceWrite::kShortWrite;
}

int SaveResourceToFile(HWND owner, WORD id, const char* path) {
  ResourceWrite result = WriteResourceFile(id, path);
  if (result == ResourceWrite::kShortWrite) {
    char text[MAX_PATH + 128];
    snprintf(text, sizeof text, kShortWriteFormat, path);
    ::MessageBoxA(owner, text, kProductName, MB_OK | MB_ICONSTOP);
  }
  return result == ResourceWrite::kWritten ? 1 : 0;
}

HBITMAP LoadBitmapResource(WORD id) {
  return ::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
}

int PaintCentredBitmap(HWND window, HDC dc, unsigned width, unsigned height) {
  HDC target = dc;
  bool fetched = false;
  if (target == nullptr) {
    target = ::GetDC(window);
    fetched = true;
  }
  HDC memory = ::CreateCompatibleDC(target);
  if (memory != nullptr) {
    HBITMAP picture = LoadBitmapResource(QTRA_SPLASH_BITMAP_ID);
    if (picture != nullptr) {
      HGDIOBJ previous = ::SelectObject(memory, picture);
      RECT client = {};
      ::GetClientRect(window, &client);
      const int w = static_cast<WORD>(width);
      const int h = static_cast<WORD>(height);
      ::BitBlt(target, client.right / 2 - w / 2, client.bottom / 2 - h / 2, w, h, memory, 0, 0, SRCCOPY);
      ::SelectObject(memory, previous);
      ::DeleteObject(picture);
    }
    ::DeleteDC(memory);
  }
  return fetched ? ::ReleaseDC(window, target) : 0;
}

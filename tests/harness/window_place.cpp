// Prints where a shown top-level window's client area lies on the screen, as
// "x y width height", so scripts can click into windows that live inside
// Wine's desktop, where X tools see only the desktop itself.
//   window_place "<exact title>"
// Waits up to a minute for the window; exits with 1 when it never shows.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: window_place \"<window title>\"\n");
    return 2;
  }
  for (int attempt = 0; attempt < 600; ++attempt) {
    HWND window = ::FindWindowA(nullptr, argv[1]);
    RECT client = {};
    POINT origin = {0, 0};
    if (window != nullptr && ::IsWindowVisible(window) && ::GetClientRect(window, &client) &&
        ::ClientToScreen(window, &origin)) {
      printf("%ld %ld %ld %ld\n", origin.x, origin.y, client.right, client.bottom);
      return 0;
    }
    ::Sleep(100);
  }
  fprintf(stderr, "window_place: no window \"%s\" shown\n", argv[1]);
  return 1;
}

// Closing a converter that still runs, through the window handle it publishes.
#pragma once
#include <windows.h>

// True when `window` is a converter's main window: a live top-level window
// whose title begins with kMainTitlePrefix ("Quantara - Version"). A handle left behind by a
// converter that crashed may by now name a window of another program.
bool IsConverterMainWindow(HWND window);

// Reads "TransHandle"; when it names a converter's main window, asks that
// window to exit, says so, and polls up to 11 times 500 ms for the handle to
// be withdrawn. False when a converter's window is still there afterwards.
bool CloseRunningConverter(HWND owner);

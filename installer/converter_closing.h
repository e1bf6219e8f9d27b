// Closing a converter that still runs, through the window handle it publishes.
#pragma once
#include <windows.h>

// True when `window` is a converter's main window: a live top-level window
// that carries the converter's mark. A handle left behind by a converter that
// crashed may by now name a window of another program, even one whose title
// begins like ours.
bool IsConverterMainWindow(HWND window);

// Finds the running converter: the window "TransHandle" names, or, while a
// converter that holds its running-copy mutex has not published its window
// yet (its first-run notice is open), its marked window. Asks it to exit
// (command 65000), says so, and polls up to 11 times 500 ms for it to end.
// False when a converter's window is still there afterwards.
bool CloseRunningConverter(HWND owner);

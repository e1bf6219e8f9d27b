// One running converter per session: a second start brings the running one to
// the front and ends, so only one copy publishes its window for the installer.
#pragma once
#include <windows.h>

// Called first thing at start. True when another copy runs and has come to the
// front (or runs but does not answer): this start then ends at once, having
// written nothing. False when this copy is the only one and starts as usual.
bool BringRunningCopyForward();

// Marks the main window so that a later start finds it; Unmark before it goes.
void MarkRunningCopyWindow(HWND window);
void UnmarkRunningCopyWindow(HWND window);

// Sent by a later start to the marked window. The window answers 1 when it has
// come to the front (or will show itself when its start ends), 0 while it ends.
UINT BringForwardMessage();

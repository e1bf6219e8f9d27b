// Small user-interface helpers built into both programs: a wait that keeps
// windows responsive, resource-to-file writing, and the splash picture painter.
#pragma once
#include <windows.h>

#include "common/strings.h"

#ifdef QTRA_CONVERTER_BUILD
// Set to 10 on a system time change; each wait consumes one and returns early.
extern int TimeChangeBreaks;
// Set once when the converter starts closing; waits in mode 0 then end early.
extern int AppClosing;

// Waits `milliseconds` while dispatching the thread's messages. Mode 1 keeps
// waiting while the application closes.
void PumpMessagesFor(unsigned long milliseconds, int mode);
#else
void PumpMessagesFor(unsigned long milliseconds);
#endif

// Dispatches every message waiting for this thread, and returns.
void DispatchPendingMessages();

// Writes the RT_RCDATA resource `id` byte for byte to `path` (created or
// truncated), and says nothing: the caller reports a failure once, its own way.
enum class ResourceWrite { kWritten, kNoResource, kNotOpened, kShortWrite };
ResourceWrite WriteResourceFile(WORD id, const char* path);

// WriteResourceFile, and a short write (the disk filled up) reported in a box
// owned by `owner` that names the file (kShortWriteFormat). 1 when written.
const char kShortWriteFormat[] = "Could not save file:\n%s\nCheck the hard-drive: is it full?";
int SaveResourceToFile(HWND owner, WORD id, const char* path);

// Draws the splash bitmap centred in the window's client area. `dc` may be null.
int PaintCentredBitmap(HWND window, HDC dc, unsigned width, unsigned height);

HBITMAP LoadBitmapResource(WORD id);

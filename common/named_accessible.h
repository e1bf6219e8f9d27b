// Names a control for screen readers: its client object is the system's own
// accessible object for it, with only the name changed. Works wherever
// Active Accessibility (oleacc.dll) is present; without it nothing changes.
#pragma once
#include <windows.h>

// Answers WM_GETOBJECT for `control` with an accessible object named `name`.
// Returns false (the caller passes the message on) for any object but the
// client area, and when the object cannot be made; otherwise `*result` is
// the message's result.
bool AnswerWithAccessibleName(HWND control, WPARAM wParam, LPARAM lParam, const wchar_t* name,
                              LRESULT* result);

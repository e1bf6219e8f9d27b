// The tech-support e-mail form: a local copy of the maker's web form, filled
// with what we know about this machine, written as email_ts.htm into the
// program folder and opened in the browser.
#pragma once
#include <windows.h>

// What the Help menu's e-mail command passes.
constexpr const char kSupportSubject[] = "I need tech-support...";
constexpr const char kSupportMessage[] = "My reason for writing is:\r\n\r\n";

// 1 when the browser was started on the written form, else 0.
int SendSupportEmailForm(HWND owner, const char* subject, const char* messageText, const char* bodyText);
// The e-mail command of the Help menu: the subject and message above.
int SendSupportEmailForm(HWND owner);

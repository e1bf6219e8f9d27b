// The help page, the read-me and manual, the maker's web pages and the
// support-by-phone note, as offered by the Help menu.
#pragma once
#include <windows.h>

#include <cstddef>

// Writes the help page (resource 150) and the form's picture (resource 145)
// into the program folder; called at every start. 1 when both were written.
int WriteSupportFiles(HWND owner);

// Opens qtrahelp.htm of the program folder in the registered web browser, or
// through the page's file association. 1 when something was started; a final
// failure is reported in a message box owned by `owner`.
int OpenHelpPage(HWND owner);

// The quoted path of the registered http browser (current user, machine,
// classes root, in that order), written into `output`. Non-zero when found.
int FindBrowserCommand(char* output, size_t size);

// Opens `fileName` ("README.TXT" or "MANUAL.TXT") of the program folder with
// the application registered for it; otherwise shows the editor hint.
int OpenProgramDocument(HWND owner, const char* fileName);

// Opens a web address through the shell; failures are not reported.
void OpenWebPage(HWND owner, const char* url);

// The support-by-phone message box.
void ShowPhoneSupport(HWND owner);

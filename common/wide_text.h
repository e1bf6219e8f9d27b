// Texts between the system's wide (UTF-16) functions and the programs' 8-bit
// code page: UTF-8 where Windows honours the manifest's code page (Windows 10
// version 1903 and later), the system's code page for non-Unicode programs before.
#pragma once
#include <windows.h>

#include <cstddef>

#include "common/text_encoding.h"

// How the programs' own texts are made of letters under the code page in force.
const TextCoding& ProgramTextCoding();
// Drops a letter that a bounded read or format left incomplete at the end of `text`.
void DropPartialLetter(char* text);
// CopyStringBounded in the programs' code page: whole letters only.
char* CopyProgramText(char* destination, const char* source, size_t size);

// `text` in `codePage` (CP_ACP or CP_UTF8) into `out` (size bytes), cut before
// a letter that does not fit; a letter the code page lacks becomes '?'. True
// when every letter came through and the whole text fitted.
bool WideToCodePage(UINT codePage, const wchar_t* text, char* out, size_t size);
// A text of the programs' code page in UTF-8 (the same bytes under the UTF-8 code page).
bool ProgramTextToUtf8(const char* text, char* out, size_t size);

// `path` as the programs' ANSI functions can use it, into `out` (size bytes):
// its long form where the code page writes it exactly, else its short (8.3)
// form. For a path it cannot name (kPathNotNameable) `out` holds the long form
// with '?' for the missing letters, only to name the path in a message.
PathFormChoice ProgramPathOf(const wchar_t* path, char* out, size_t size);

// The logged-on user's name, read with the wide function (the ANSI one cuts
// some names under Wine), in `codePage` (CP_ACP or CP_UTF8).
void CurrentUserName(UINT codePage, char* out, size_t size);

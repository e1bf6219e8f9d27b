// Start-up timing marks. They exist only in the benchmark build of the
// converter (see bench/), which defines QTRA_STARTUP_MARKS; the shipping
// program compiles them to nothing.
#pragma once

#ifdef QTRA_STARTUP_MARKS
// Notes the time at the end of one start-up step; `step` is a static text.
void StartupMark(const char* step);
// Writes the marks noted so far, once, beside the program.
void WriteStartupMarks();
#define STARTUP_MARK(step) StartupMark(step)
#define STARTUP_MARKS_DONE() WriteStartupMarks()
#else
#define STARTUP_MARK(step) ((void)0)
#define STARTUP_MARKS_DONE() ((void)0)
#endif

// The shipping programs' entry point (linked with -e): where libraries may come
// from is settled before the C runtime starts, before any static constructor and
// before the first library is loaded by name. Kept apart from
// RestrictLibrarySearch so the order stays visible in the built program.
#include "common/library_search.h"

// The C runtime's entry point for a windowed program (crtexe).
extern "C" int WinMainCRTStartup(void);

// The stack Windows starts a 32-bit program with is aligned to 4 bytes only.
#if defined(__i386__)
#define QTRA_REALIGN_STACK __attribute__((force_align_arg_pointer))
#else
#define QTRA_REALIGN_STACK
#endif

extern "C" QTRA_REALIGN_STACK int ProgramEntry(void) {
  RestrictLibrarySearch();
  return WinMainCRTStartup();
}

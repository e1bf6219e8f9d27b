// The installed uninstaller cannot delete the folder it runs from, so it
// relays to a copy of itself outside that folder and waits for it: holding
// the installer lock for the copy, and passing its result on to whoever
// started the uninstall (a package manager waits for this process).
#pragma once
#include <windows.h>

// Starts `copy` (in `temporary`) with `arguments` and waits for its result,
// dispatching this thread's messages meanwhile. The copy's exit code, or
// kExitNotInstalled when it could not be started.
int RunCopyAndWait(const char* copy, const char* temporary, const char* arguments);

// In the copy: whether a relay started it and waits for its result.
bool RelayWaits();

// In the copy, once everything else of the installation is gone: takes the
// uninstaller `installed` out of the program folder. A file that is not
// running is deleted; the waiting relay's (which cannot be) is moved next to
// this copy, where the next uninstall's copy step finds it.
enum TakeOut {
  kTakenOut,       // it has left the program folder
  kLeftInUse,      // another program holds it: it stays
  kAfterTheRelay,  // on another drive it cannot be moved: it goes once the relay has ended (HandOverAndDeleteRelay)
};
TakeOut TakeOutUninstaller(const char* installed);

// In the copy: hands `code` to the waiting relay, which then ends; waits for
// that (bounded) and deletes the relay's file `relayFile`. True when it is gone.
bool HandOverAndDeleteRelay(int code, const char* relayFile);

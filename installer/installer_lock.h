// One installer at a time: every run (interactive, silent, the uninstall and
// its temporary copy) holds a named mutex while it changes anything. The
// uninstall's copy runs under its relay's hold while the relay waits for it,
// and takes the mutex over once the relay has ended.
#pragma once
#include <windows.h>

// Waits up to `waitMs` for the mutex. True once this run holds it (a run that
// ended without letting go of it leaves it to the next).
bool AcquireInstallerLock(DWORD waitMs);
void ReleaseInstallerLock();

// How long a silent run waits for another installation to end.
const DWORD kSilentLockWait = 120000;

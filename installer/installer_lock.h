// One installer at a time: every run (interactive, silent, the uninstall's
// relay) takes a named mutex, then a second one, the work lock, and holds both
// while it changes anything. The uninstall's copy holds the work lock alone,
// from its start to its very end, while its relay holds the first for it: so
// no other run starts its work until the copy's last file operation is done,
// even once the relay has ended (or was ended by Task Manager, which leaves
// the first mutex abandoned but the work lock held).
#pragma once
#include <windows.h>

// Waits up to `waitMs` in all for both mutexes, the first one first. True once
// this run holds them (a run that ended without letting go leaves them to the
// next, which finishes what it recorded). A silent run that has to wait logs it.
bool AcquireInstallerLock(DWORD waitMs);
void ReleaseInstallerLock();

// In the relay, which holds both: lets go of the work lock for the copy it
// starts. Nobody else can take it meanwhile: every other run takes the first
// mutex, which the relay keeps, before it.
void LeaveWorkLockToCopy();
// In the copy under a relay: takes the work lock alone.
bool AcquireWorkLock(DWORD waitMs);

// How long a silent run waits for another installation to end.
const DWORD kSilentLockWait = 120000;

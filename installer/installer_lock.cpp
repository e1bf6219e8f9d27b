#include "installer/installer_lock.h"

#include "common/product.h"
#include "installer/installer_state.h"

namespace {
const char kInstallerMutexName[] = "Marlowbrook.Quantara.Installer";
const char kWorkMutexName[] = "Marlowbrook.Quantara.Installer.Work";

struct NamedLock {
  const char* name;
  HANDLE mutex;
  bool held;
};
NamedLock g_main = {kInstallerMutexName, nullptr, false};
NamedLock g_work = {kWorkMutexName, nullptr, false};

bool Take(NamedLock* lock, DWORD waitMs) {
  if (lock->held) return true;
  if (lock->mutex == nullptr) lock->mutex = ::CreateMutexA(nullptr, FALSE, lock->name);
  if (lock->mutex == nullptr) return false;
  DWORD waited = ::WaitForSingleObject(lock->mutex, 0);
  if (waited == WAIT_TIMEOUT && waitMs != 0) {
    LogStep("Waiting for another installation or uninstall of %s to end", kProductName);
    waited = ::WaitForSingleObject(lock->mutex, waitMs);
  }
  lock->held = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
  return lock->held;
}

void Let(NamedLock* lock) {
  if (lock->held) ::ReleaseMutex(lock->mutex);
  lock->held = false;
}
}  // namespace

bool AcquireInstallerLock(DWORD waitMs) {
  const DWORD start = ::GetTickCount();
  if (!Take(&g_main, waitMs)) return false;
  const DWORD spent = ::GetTickCount() - start;
  if (Take(&g_work, spent < waitMs ? waitMs - spent : 0)) return true;
  Let(&g_main);
  return false;
}

void ReleaseInstallerLock() {
  Let(&g_work);
  Let(&g_main);
}

void LeaveWorkLockToCopy() { Let(&g_work); }

bool AcquireWorkLock(DWORD waitMs) { return Take(&g_work, waitMs); }

#include "installer/installer_lock.h"

namespace {
const char kInstallerMutexName[] = "Marlowbrook.Quantara.Installer";
HANDLE g_mutex = nullptr;
bool g_held = false;
}  // namespace

bool AcquireInstallerLock(DWORD waitMs) {
  if (g_held) return true;
  if (g_mutex == nullptr) g_mutex = ::CreateMutexA(nullptr, FALSE, kInstallerMutexName);
  if (g_mutex == nullptr) return false;
  const DWORD waited = ::WaitForSingleObject(g_mutex, waitMs);
  g_held = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
  return g_held;
}

void ReleaseInstallerLock() {
  if (g_held) ::ReleaseMutex(g_mutex);
  g_held = false;
}

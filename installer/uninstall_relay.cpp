#include "installer/uninstall_relay.h"

#include <cstdio>
#include <cstring>

#include "common/install_rules.h"
#include "common/ui_helpers.h"
#include "installer/folder_names.h"
#include "installer/folders.h"
#include "installer/installer_lock.h"
#include "installer/installer_state.h"
#include "installer/uninstall_steps.h"

namespace {

// A result the uninstall's copy hands to the relay waiting for it, named after
// the copy's process: an event that says it is there and the number itself.
struct ResultChannel {
  ResultChannel(DWORD copyProcess, bool create) {
    char name[64];
    snprintf(name, sizeof name, "Marlowbrook.Quantara.UninstallDone.%lu", copyProcess);
    done = create ? ::CreateEventA(nullptr, TRUE, FALSE, name) : ::OpenEventA(EVENT_MODIFY_STATE, FALSE, name);
    snprintf(name, sizeof name, "Marlowbrook.Quantara.UninstallResult.%lu", copyProcess);
    mapping = create ? ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(LONG), name)
                     : ::OpenFileMappingA(FILE_MAP_WRITE, FALSE, name);
    if (mapping != nullptr) result = static_cast<LONG*>(::MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(LONG)));
    if (result == nullptr && done != nullptr) {
      ::CloseHandle(done);
      done = nullptr;
    }
  }
  ~ResultChannel() {
    if (result != nullptr) ::UnmapViewOfFile(result);
    if (mapping != nullptr) ::CloseHandle(mapping);
    if (done != nullptr) ::CloseHandle(done);
  }
  ResultChannel(const ResultChannel&) = delete;
  ResultChannel& operator=(const ResultChannel&) = delete;

  HANDLE done = nullptr;
  HANDLE mapping = nullptr;
  LONG* result = nullptr;
};

}  // namespace

int RunCopyAndWait(const char* copy, const char* temporary, const char* arguments) {
  char line[3 * kPathSize];
  const int length = snprintf(line, sizeof line, "\"%s\" %s", copy, arguments);
  if (length < 0 || static_cast<size_t>(length) >= sizeof line) return kExitNotInstalled;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!::CreateProcessA(copy, line, nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, temporary, &startup,
                        &process)) {
    return kExitNotInstalled;
  }
  // The channel is there before the copy runs: that is how it knows a relay waits.
  ResultChannel channel(process.dwProcessId, true);
  // The copy holds the work lock from its start to its end; this run keeps the
  // first mutex, so no other run comes between.
  LeaveWorkLockToCopy();
  ::ResumeThread(process.hThread);
  ::CloseHandle(process.hThread);
  HANDLE waits[2] = {process.hProcess, channel.done};
  const DWORD count = channel.done != nullptr ? 2 : 1;
  DWORD woken = WAIT_TIMEOUT;
  for (;;) {
    woken = ::MsgWaitForMultipleObjects(count, waits, FALSE, INFINITE, QS_ALLINPUT);
    if (woken != WAIT_OBJECT_0 + count) break;
    DispatchPendingMessages();
  }
  DWORD code = kExitCancelled;
  if (woken == WAIT_OBJECT_0 + 1 && channel.result != nullptr) {
    code = static_cast<DWORD>(*channel.result);
  } else {
    ::GetExitCodeProcess(process.hProcess, &code);
    // The copy has ended, so its file can go; the file this relay runs from goes with the next run.
    RemoveUninstallerLeftovers();
  }
  ::CloseHandle(process.hProcess);
  return static_cast<int>(code);
}

TakeOut TakeOutUninstaller(const char* installed) {
  const DWORD attributes = ::GetFileAttributesA(installed);
  // A link is no running program of ours; it goes with the folder as it is.
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return kTakenOut;
  DeleteOurFile(installed);
  if (!PathExists(installed)) return kTakenOut;
  char own[kPathSize] = {};
  char* name = OwnProgramPath(nullptr, own) ? strrchr(own, '\\') : nullptr;
  char parked[kPathSize];
  if (name == nullptr) return kLeftInUse;
  *name = '\0';
  if (!JoinPath(parked, own, kParkedRelayFileName) || (PathExists(parked) && !::DeleteFileA(parked))) return kLeftInUse;
  if (::MoveFileExA(installed, parked, 0)) {
    LogStep("Moved the running uninstaller to %s", parked);
    return kTakenOut;
  }
  // Letters compare without case; "\\server" paths are never on the same drive.
  const bool sameDrive = installed[1] == ':' && parked[1] == ':' && (installed[0] | 0x20) == (parked[0] | 0x20);
  return sameDrive || !RelayWaits() ? kLeftInUse : kAfterTheRelay;
}

bool RelayWaits() {
  ResultChannel channel(::GetCurrentProcessId(), false);
  return channel.done != nullptr;
}

bool HandOverAndDeleteRelay(int code, const char* relayFile) {
  ResultChannel channel(::GetCurrentProcessId(), false);
  if (channel.done != nullptr) {
    *channel.result = code;
    ::SetEvent(channel.done);
  }
  // The relay ends once it has the result; its file can go after that.
  const int attempts = channel.done != nullptr ? 300 : 1;
  for (int attempt = 0; attempt < attempts && PathExists(relayFile); ++attempt) {
    ::SetFileAttributesA(relayFile, FILE_ATTRIBUTE_NORMAL);
    if (!::DeleteFileA(relayFile)) ::Sleep(100);
  }
  return !PathExists(relayFile);
}

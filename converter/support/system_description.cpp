#include "converter/support/system_description.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "common/strings.h"
#include "converter/support/windows_version_table.h"

char SystemDescription[128];
unsigned long SystemPlatformId;
unsigned long SystemMajorVersion;
unsigned long SystemMinorVersion;
char SystemCpuText[32] = "x86";

static_assert(sizeof(OSVERSIONINFOA) == 148, "GetVersionExA expects the 148-byte record");

namespace {
using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
}

// The question is whether Windows itself is 64-bit. The shipping 32-bit build
// learns it from IsWow64Process, which older Windows lacks (hence the run-time
// lookup). A 64-bit build is never a WOW64 process, yet it can only be running
// on 64-bit Windows, so its own pointer size answers for it.
int GetProcessBitness() {
  HMODULE kernel = GetModuleHandleA("kernel32");
  FARPROC address = kernel != nullptr ? GetProcAddress(kernel, "IsWow64Process") : nullptr;
  if (address != nullptr) {
    auto isWow64Process = reinterpret_cast<IsWow64ProcessFunction>(reinterpret_cast<void (*)()>(address));
    BOOL wow64 = FALSE;
    if (isWow64Process(GetCurrentProcess(), &wow64) && wow64) return 64;
  }
  return sizeof(void*) == 8 ? 64 : 32;
}

void ReadProcessorArchitecture() {
  char value[32] = "AMD64";
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment", 0,
                    KEY_READ, &key) == ERROR_SUCCESS) {
    DWORD size = sizeof(value);
    if (RegQueryValueExA(key, "PROCESSOR_ARCHITECTURE", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) !=
        ERROR_SUCCESS) {
      CopyStringBounded(value, "AMD64", sizeof(value));
    }
    RegCloseKey(key);
  }
  value[sizeof(value) - 1] = '\0';  // a 32-byte value comes back without a terminator
  CopyStringBounded(SystemCpuText, value, sizeof(SystemCpuText));
}

void BuildSystemDescription() {
  const char* bitness = "32bit";
  if (GetProcessBitness() == 64) {
    ReadProcessorArchitecture();
    bitness = "64bit";
  }

  OSVERSIONINFOA version;
  memset(&version, 0, sizeof(version));
  version.dwOSVersionInfoSize = sizeof(version);
  GetVersionExA(&version);
  SystemPlatformId = version.dwPlatformId;
  SystemMajorVersion = version.dwMajorVersion;
  SystemMinorVersion = version.dwMinorVersion;

  char osText[128];
  DescribeWindowsVersion(SystemPlatformId, SystemMajorVersion, SystemMinorVersion, osText, sizeof(osText));
  snprintf(SystemDescription, sizeof(SystemDescription), "%s, %s, CPU: %s", osText, bitness, SystemCpuText);
}

#include "converter/support/windows_version_table.h"

#include <cstdio>

namespace {

const char kPrefix[] = "Windows ";

// Named versions of the NT line (platform 2).
const char* NtName(unsigned long major, unsigned long minor) {
  if (major == 4 && minor == 0) return "NT 4.0";
  if (major == 5 && minor == 0) return "2000";
  if (major == 5 && minor == 1) return "XP";
  if (major == 5 && minor == 2) return "Server 2003 family";
  if (major == 6 && minor == 0) return "Vista";
  return nullptr;
}

// Named versions of the 9x line (platform 1).
const char* NineXName(unsigned long major, unsigned long minor) {
  if (major != 4) return nullptr;
  if (minor == 0) return "95";
  if (minor == 10) return "98";
  if (minor == 90) return "ME";
  return nullptr;
}

}  // namespace

void DescribeWindowsVersion(unsigned long platformId, unsigned long major, unsigned long minor, char* output,
                            size_t size) {
  if (output == nullptr || size == 0) return;
  const char* name = nullptr;
  int unknownNumber = 0;
  switch (platformId) {
    case 0:  // Win32s on Windows 3.x
      if (minor == 1) name = "3.1";
      else if (minor == 11) name = "3.11";
      else unknownNumber = 1;
      break;
    case 1:
      name = NineXName(major, minor);
      if (name == nullptr) unknownNumber = 2;
      break;
    case 2:
      if (major == 3) {
        snprintf(output, size, "%sNT 3.%lu", kPrefix, minor);
        return;
      }
      if (major == 6 && minor == 1) {
        snprintf(output, size, "%s", "Windows 7 or 2008 R2");
        return;
      }
      name = NtName(major, minor);
      if (name == nullptr) unknownNumber = 3;
      break;
    default:
      unknownNumber = 4;
      break;
  }
  if (name != nullptr) {
    snprintf(output, size, "%s%s", kPrefix, name);
  } else {
    snprintf(output, size, "%sUnknown(%d) PF%lu %lu.%lu", kPrefix, unknownNumber, platformId, major, minor);
  }
}

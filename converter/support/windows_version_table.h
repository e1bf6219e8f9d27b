// The Windows version name for the numbers GetVersionEx reports. Portable.
#pragma once
#include <cstddef>

// Writes the OS text ("Windows XP", "Windows Unknown(3) PF2 6.2", ...) into
// `output`, cut to fit.
void DescribeWindowsVersion(unsigned long platformId, unsigned long major, unsigned long minor, char* output,
                            size_t size);

// The system description under the Windows versions Wine can pretend to be,
// and the bitness and processor texts of this machine.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "converter/support/system_description.h"
#include "tests/harness/test_support.h"

namespace {

const char kProbe[] = "support_version_probe.exe";
// Wine's per-program Windows version; read when a process starts.
const std::string kProbeSettings = std::string("Software\\Wine\\AppDefaults\\") + kProbe;

// The machine's PROCESSOR_ARCHITECTURE, read here on its own.
std::string MachineArchitecture() {
  char value[64] = {};
  DWORD size = sizeof(value) - 1;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment", 0,
                    KEY_READ, &key) != ERROR_SUCCESS)
    return "";
  RegQueryValueExA(key, "PROCESSOR_ARCHITECTURE", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(key);
  return value;
}

// Whether Windows is 64-bit, asked independently of the code under test: a
// 64-bit process needs 64-bit Windows, a 32-bit one there runs under WOW64.
bool WindowsIs64Bit() {
  BOOL wow64 = FALSE;
  return sizeof(void*) == 8 || (IsWow64Process(GetCurrentProcess(), &wow64) && wow64);
}

// The bitness and CPU part of the line on this machine.
std::string ExpectedTail() {
  return WindowsIs64Bit() ? ", 64bit, CPU: " + MachineArchitecture() : std::string(", 32bit, CPU: x86");
}

// The probe's first line (the description) and second (platform.major.minor)
// when Wine pretends to be `version`.
bool RunProbe(const char* version, std::string* description, std::string* numbers) {
  qtest::WriteRegText(kProbeSettings, "Version", version);
  std::string folder = qtest::MakeTempFolder("support_probe");
  std::string output = folder + "\\probe.txt";
  qtest::Program probe;
  bool ran = probe.Start(qtest::BinPath(kProbe), "\"" + output + "\"") && probe.WaitForExit() && probe.ExitCode() == 0;
  std::string text = qtest::ReadFileBytes(output);
  qtest::DeleteFolderTree(folder);
  size_t end = text.find('\n');
  if (!ran || end == std::string::npos) return false;
  *description = text.substr(0, end);
  *numbers = text.substr(end + 1, text.find('\n', end + 1) - end - 1);
  return true;
}

TEST(SupportSystemDescription, EachWindowsVersionGivesItsLine) {
  const std::string tail = ExpectedTail();
  ASSERT_NE(", 64bit, CPU: ", tail);  // the architecture must be readable for the comparison to mean anything
  struct Case {
    const char* wineVersion;
    const char* numbers;
    const char* osText;
  };
  // The probe carries the converter's manifest, which names every Windows up
  // to 10 and 11: it is told their true numbers, not 6.2 as a program without
  // one is. The table names none after 7.
  const Case cases[] = {
      {"winxp", "2.5.1", "Windows XP"},
      {"win7", "2.6.1", "Windows 7 or 2008 R2"},
      {"win8", "2.6.2", "Windows Unknown(3) PF2 6.2"},
      {"win81", "2.6.3", "Windows Unknown(3) PF2 6.3"},
      {"win10", "2.10.0", "Windows Unknown(3) PF2 10.0"},
  };
  for (const Case& c : cases) {
    std::string description, numbers;
    ASSERT_TRUE(RunProbe(c.wineVersion, &description, &numbers)) << c.wineVersion;
    EXPECT_EQ(c.numbers, numbers) << c.wineVersion;
    EXPECT_EQ(c.osText + tail, description) << c.wineVersion;
  }
  qtest::DeleteRegTree(kProbeSettings);
}

TEST(SupportSystemDescription, BitnessAndProcessorOfThisProcess) {
  // A 64-bit process is never WOW64, yet it runs on 64-bit Windows: 64 all the same.
  BOOL wow64 = TRUE;
  ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
  if (sizeof(void*) == 8) {
    EXPECT_FALSE(wow64);
  }
  EXPECT_EQ(WindowsIs64Bit() ? 64 : 32, GetProcessBitness());

  ReadProcessorArchitecture();
  EXPECT_EQ(MachineArchitecture(), SystemCpuText);
  char environment[64] = {};
  GetEnvironmentVariableA("PROCESSOR_ARCHITECTURE", environment, sizeof(environment));
  EXPECT_STREQ(environment, SystemCpuText);

  BuildSystemDescription();
  const std::string line = SystemDescription;
  ASSERT_NE(std::string::npos, line.find(", "));
  EXPECT_EQ(ExpectedTail(), line.substr(line.find(", ")));
  EXPECT_LT(line.size(), sizeof(SystemDescription));
  EXPECT_EQ(2ul, SystemPlatformId);
}

}  // namespace

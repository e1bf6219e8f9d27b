// Running the installer as package managers and administrators do, and what
// an installation leaves, for the end-to-end tests of the installer. Inline:
// the checks report through the test framework of the test that includes it.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/product.h"
#include "tests/harness/test_support.h"

namespace qtest {

const DWORD kInstallWait = 60000;
inline const std::string kConfigureKeyPath = ProductSubKey(kConfigureKey);
inline const std::string kHandlesKeyPath = ProductSubKey(kHandlesKey);

inline std::string InstallerLog() {
  char temporary[MAX_PATH + 1] = {};
  ::GetTempPathA(sizeof temporary, temporary);
  return ReadFileBytes(std::string(temporary) + kInstallerLogFileName);
}

struct WindowWatch {
  DWORD processId;
  std::string seen;
};

inline BOOL CALLBACK NoteVisibleWindow(HWND window, LPARAM param) {
  auto* watch = reinterpret_cast<WindowWatch*>(param);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner == watch->processId && ::IsWindowVisible(window)) watch->seen += "[" + GetText(window) + "]";
  return TRUE;
}

// Runs `program` with `arguments` to its end, watching the whole time for a
// visible top-level window of the process, which fails the test. `during`,
// when given, is called at each look and ends the program when it returns
// true (a kill half-way). The exit code.
inline DWORD RunSilently(const std::string& program, const std::string& arguments,
                         const std::function<bool()>& during = nullptr) {
  Program run;
  if (!run.Start(program, arguments)) return 0xFFFFFFFF;
  WindowWatch watch = {run.Id(), ""};
  const bool ended = WaitUntil(
      [&] {
        ::EnumWindows(&NoteVisibleWindow, reinterpret_cast<LPARAM>(&watch));
        if (during && during()) run.Kill();
        return !run.IsRunning();
      },
      kInstallWait, 1);
  EXPECT_EQ("", watch.seen) << arguments;
  return ended ? run.ExitCode() : 0xFFFFFFFE;
}

inline DWORD InstallSilently(const std::string& arguments, const std::function<bool()>& during = nullptr) {
  return RunSilently(BinPath(kInstallerFileName), arguments, during);
}

// Runs the entry's QuietUninstallString as a package manager does.
inline DWORD QuietUninstall() {
  const std::string command = ReadRegText(kUninstallEntry, "QuietUninstallString");
  const size_t close = command.find('"', 1);
  if (command.empty() || command[0] != '"' || close == std::string::npos) {
    ADD_FAILURE() << "QuietUninstallString: " << command;
    return 0xFFFFFFFF;
  }
  return RunSilently(command.substr(1, close - 1), command.substr(close + 2));
}

// The eight files, the recorded folder, the entry and the shortcuts of an installation in `folder`.
inline void ExpectInstalled(const std::string& folder) {
  for (const char* name : kInstalledFiles) EXPECT_TRUE(FileExists(folder + "\\" + name)) << folder << "\\" << name;
  EXPECT_EQ(folder, ReadRegText(kConfigureKeyPath, kProgramDirValue));
  EXPECT_EQ("\"" + folder + "\\qtrasx.exe\" UnInstall", ReadRegText(kUninstallEntry, "UninstallString"));
  EXPECT_EQ("\"" + folder + "\\qtrasx.exe\" UnInstall /S", ReadRegText(kUninstallEntry, "QuietUninstallString"));
  EXPECT_EQ(folder, ReadRegText(kUninstallEntry, "InstallLocation"));
  EXPECT_TRUE(FileExists(DesktopLink()));
  EXPECT_EQ(5u, FolderEntries(GroupFolder()).size());
}

// The short (8.3) name the system gives the existing `path`; "" when it has none.
inline std::string ShortPathOf(const std::string& path) {
  char shortPath[MAX_PATH] = {};
  const DWORD length = ::GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
  return length > 0 && length < sizeof shortPath ? shortPath : "";
}

// No entry, settings or shortcuts left, and none of our files in `folder`.
inline void ExpectUninstalled(const std::string& folder) {
  EXPECT_FALSE(RegKeyExists(kUninstallEntry));
  EXPECT_FALSE(RegKeyExists(kProductKey));
  EXPECT_FALSE(FileExists(DesktopLink()));
  EXPECT_FALSE(FileExists(GroupFolder()));
  for (const char* name : kInstalledFiles) EXPECT_FALSE(FileExists(folder + "\\" + name)) << name;
}

// A library planted beside our programs under names that system code loads by
// name (the shell's link and folder calls), and the marker it leaves when
// loaded: the paths it was loaded from, "" when never.
inline const char* const kPlantedLibraryNames[] = {"shcore.dll", "propsys.dll", "linkinfo.dll", "ntshrui.dll",
                                                   "cscapi.dll"};
inline std::string PlantedLibraryMarker() {
  char temporary[MAX_PATH + 1] = {};
  ::GetTempPathA(sizeof temporary, temporary);
  return std::string(temporary) + "planted_library_loaded.txt";
}
inline void PlantLibraries(const std::string& folder) {
  ::CreateDirectoryA(folder.substr(0, folder.rfind('\\')).c_str(), nullptr);
  ::CreateDirectoryA(folder.c_str(), nullptr);
  for (const char* name : kPlantedLibraryNames) {
    EXPECT_TRUE(::CopyFileA(BinPath("planted_library.dll").c_str(), (folder + "\\" + name).c_str(), FALSE)) << name;
  }
}
inline void RemovePlantedLibraries(const std::string& folder) {
  for (const char* name : kPlantedLibraryNames) ::DeleteFileA((folder + "\\" + name).c_str());
}
inline std::string PlantedLibrariesLoaded() { return ReadFileBytes(PlantedLibraryMarker()); }

// Everything an installation changes, as text: the files in `folders` (name
// and bytes, or that the folder is missing), every value under the product's
// key and the uninstall entry, and the desktop link and group with their bytes.
inline void AddRegistryTree(HKEY root, const std::string& path, std::string* out) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
  *out += "[" + path + "]\n";
  char name[256];
  BYTE data[4096];
  for (DWORD i = 0;; ++i) {
    DWORD nameSize = sizeof name, dataSize = sizeof data, type = 0;
    if (::RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) break;
    // The day of the installation is written anew by any entry.
    if (std::string(name) != "InstallDate") *out += std::string(name) + "=" + std::string(reinterpret_cast<char*>(data), dataSize) + "\n";
  }
  for (DWORD i = 0;; ++i) {
    DWORD nameSize = sizeof name;
    if (::RegEnumKeyExA(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    AddRegistryTree(root, path + "\\" + name, out);
  }
  ::RegCloseKey(key);
}

// A file by its size and a hash of its bytes. A link made anew for the same
// target differs in the times it keeps of the folders on the way: with
// `linkBytes` false a link is described by which of `folders` it names.
inline std::string DescribeFile(const std::string& path, const std::vector<std::string>* folders = nullptr) {
  const std::string bytes = ReadFileBytes(path);
  if (folders == nullptr) return std::to_string(bytes.size()) + "/" + std::to_string(std::hash<std::string>()(bytes));
  std::string named;
  for (const std::string& folder : *folders) named += bytes.find(folder + "\\") != std::string::npos ? "+" : "-";
  return named;
}

inline std::string InstallationSnapshot(const std::vector<std::string>& folders, bool linkBytes = true) {
  std::string out;
  for (const std::string& folder : folders) {
    out += FileExists(folder) ? folder + ":\n" : folder + " missing\n";
    for (const std::string& name : FolderEntries(folder)) out += name + "=" + DescribeFile(folder + "\\" + name) + "\n";
  }
  AddRegistryTree(HKEY_CURRENT_USER, kProductKey, &out);
  AddRegistryTree(HKEY_CURRENT_USER, kUninstallEntry, &out);
  const std::vector<std::string>* named = linkBytes ? nullptr : &folders;
  out += "desktop=" + DescribeFile(DesktopLink(), named) + "\n";
  out += FileExists(GroupFolder()) ? "group:\n" : "no group\n";
  for (const std::string& name : FolderEntries(GroupFolder())) {
    out += name + "=" + DescribeFile(GroupFolder() + "\\" + name, named) + "\n";
  }
  return out;
}

// Starts each test of an installer suite with no installation at all.
inline void ForgetInstallations() {
  DeleteRegTree(kProductKey);
  DeleteRegTree(kUninstallEntry);
  ::DeleteFileA(DesktopLink().c_str());
  DeleteFolderTree(GroupFolder());
}

}  // namespace qtest

// What Windows and deployment tools read from the shipped programs without
// running them: the version resource (Explorer's Details tab, file-version
// rules) and the manifest that tells Windows which versions the program knows.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/product.h"
#include "tests/harness/test_support.h"

namespace {

struct ShippedProgram {
  const char* file;
  const char* description;
  const char* internalName;
  const char* originalName;
};
const ShippedProgram kPrograms[] = {
    {"qtra.exe", "Quantara unit converter", "qtra", kConverterFileName},
    {"qtrasx.exe", "Quantara installer and uninstaller", "qtrasx", kInstallerFileName},
};

std::vector<char> VersionInfo(const std::string& path) {
  DWORD unused = 0;
  const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &unused);
  std::vector<char> info(size);
  if (size == 0 || !::GetFileVersionInfoA(path.c_str(), 0, size, info.data())) info.clear();
  return info;
}

std::string VersionText(std::vector<char>& info, const std::string& name) {
  char* value = nullptr;
  UINT size = 0;
  const std::string query = "\\StringFileInfo\\040904B0\\" + name;
  if (!::VerQueryValueA(info.data(), query.c_str(), reinterpret_cast<void**>(&value), &size) || size == 0) return "";
  return std::string(value, strnlen(value, size));
}

TEST(ReleaseResources, VersionTextAndNumbersAgree) {
  char text[32];
  snprintf(text, sizeof text, "%u.%02u.%02u", QTRA_VERSION_MAJOR, QTRA_VERSION_MINOR, QTRA_VERSION_PATCH);
  EXPECT_STREQ(kProductVersion, text);
}

TEST(ReleaseResources, BothProgramsCarryTheVersionResource) {
  const DWORD high = MAKELONG(QTRA_VERSION_MINOR, QTRA_VERSION_MAJOR);
  const DWORD low = MAKELONG(QTRA_VERSION_BUILD, QTRA_VERSION_PATCH);
  for (const ShippedProgram& program : kPrograms) {
    std::vector<char> info = VersionInfo(qtest::BinPath(program.file));
    ASSERT_FALSE(info.empty()) << program.file << " has no version resource";
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    ASSERT_TRUE(::VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &size)) << program.file;
    ASSERT_EQ(sizeof *fixed, size);
    EXPECT_EQ(VS_FFI_SIGNATURE, fixed->dwSignature);
    EXPECT_EQ(high, fixed->dwFileVersionMS) << program.file;
    EXPECT_EQ(low, fixed->dwFileVersionLS) << program.file;
    EXPECT_EQ(high, fixed->dwProductVersionMS) << program.file;
    EXPECT_EQ(low, fixed->dwProductVersionLS) << program.file;
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed->dwFileType);
    EXPECT_EQ(0u, fixed->dwFileFlags & fixed->dwFileFlagsMask) << "no debug or pre-release flag";

    WORD* translation = nullptr;
    ASSERT_TRUE(::VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &size));
    ASSERT_EQ(4u, size);
    EXPECT_EQ(0x0409, translation[0]);
    EXPECT_EQ(1200, translation[1]);

    const struct {
      const char* name;
      const char* expected;
    } texts[] = {
        {"CompanyName", QTRA_COMPANY_NAME},       {"ProductName", kProductName},
        {"FileVersion", kProductVersion},         {"ProductVersion", kProductVersion},
        {"FileDescription", program.description}, {"InternalName", program.internalName},
        {"LegalCopyright", QTRA_COPYRIGHT},       {"OriginalFilename", program.originalName},
    };
    for (const auto& t : texts) EXPECT_EQ(t.expected, VersionText(info, t.name)) << program.file << " " << t.name;
  }
}

std::string ManifestOf(const std::string& path) {
  HMODULE module = ::LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (module == nullptr) return "";
  std::string text;
  HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  HGLOBAL loaded = found != nullptr ? ::LoadResource(module, found) : nullptr;
  if (loaded != nullptr) text.assign(static_cast<const char*>(::LockResource(loaded)), ::SizeofResource(module, found));
  ::FreeLibrary(module);
  return text;
}

TEST(ReleaseResources, BothManifestsNameTheVersionAndEveryWindowsSinceVista) {
  const struct {
    const char* windows;
    const char* id;
  } systems[] = {
      {"Vista", "{e2011457-1546-43c5-a5fe-008deee3d3f0}"}, {"7", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"},
      {"8", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"},     {"8.1", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}"},
      {"10 and 11", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"},
  };
  char identity[64];
  snprintf(identity, sizeof identity, "version=\"%u.%u.%u.%u\"", QTRA_VERSION_MAJOR, QTRA_VERSION_MINOR,
           QTRA_VERSION_PATCH, QTRA_VERSION_BUILD);
  for (const ShippedProgram& program : kPrograms) {
    const std::string manifest = ManifestOf(qtest::BinPath(program.file));
    ASSERT_NE("", manifest) << program.file;
    const size_t identityAt = manifest.find("<assemblyIdentity ");
    EXPECT_EQ(identityAt + 18, manifest.find(identity, identityAt)) << program.file;
    const size_t open = manifest.find("<compatibility xmlns=\"urn:schemas-microsoft-com:compatibility.v1\">");
    const size_t close = manifest.find("</compatibility>");
    ASSERT_NE(std::string::npos, open) << program.file;
    ASSERT_NE(std::string::npos, close) << program.file;
    const std::string compatibility = manifest.substr(open, close - open);
    for (const auto& system : systems) {
      EXPECT_NE(std::string::npos, compatibility.find(std::string("<supportedOS Id=\"") + system.id + "\"/>"))
          << program.file << " Windows " << system.windows;
    }
  }
}

}  // namespace

// What Windows and deployment tools read from the shipped programs without
// running them: the version resource and the manifest's supported Windows.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
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

// The value `query` of a version resource, "" when absent.
std::string VersionValue(std::vector<char>& info, const std::string& query) {
  char* value = nullptr;
  UINT size = 0;
  if (!::VerQueryValueA(info.data(), query.c_str(), reinterpret_cast<void**>(&value), &size)) return "";
  return query.find("StringFileInfo") != std::string::npos ? std::string(value, strnlen(value, size))
                                                            : std::string(value, size);
}

TEST(ReleaseResources, BothProgramsCarryTheVersionResource) {
  char text[16];
  snprintf(text, sizeof text, "%u.%02u.%02u", QTRA_VERSION_MAJOR, QTRA_VERSION_MINOR, QTRA_VERSION_PATCH);
  EXPECT_STREQ(kProductVersion, text) << "the version's text and numbers agree";
  const DWORD high = MAKELONG(QTRA_VERSION_MINOR, QTRA_VERSION_MAJOR);
  const DWORD low = MAKELONG(QTRA_VERSION_BUILD, QTRA_VERSION_PATCH);
  for (const ShippedProgram& program : kPrograms) {
    const std::string path = qtest::BinPath(program.file);
    DWORD unused = 0;
    std::vector<char> info(::GetFileVersionInfoSizeA(path.c_str(), &unused));
    ASSERT_TRUE(!info.empty() && ::GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(info.size()), info.data()))
        << program.file << " has no version resource";
    const std::string fixedBytes = VersionValue(info, "\\");
    ASSERT_EQ(sizeof(VS_FIXEDFILEINFO), fixedBytes.size()) << program.file;
    const auto* fixed = reinterpret_cast<const VS_FIXEDFILEINFO*>(fixedBytes.data());
    EXPECT_EQ((std::vector<DWORD>{VS_FFI_SIGNATURE, high, low, high, low, VFT_APP, 0}),
              (std::vector<DWORD>{fixed->dwSignature, fixed->dwFileVersionMS, fixed->dwFileVersionLS,
                                  fixed->dwProductVersionMS, fixed->dwProductVersionLS, fixed->dwFileType,
                                  fixed->dwFileFlags & fixed->dwFileFlagsMask}))
        << program.file << ": signature, version 11.4.1.0 twice, an application, no debug or pre-release flag";
    EXPECT_EQ(std::string("\x09\x04\xB0\x04", 4), VersionValue(info, "\\VarFileInfo\\Translation"));
    const std::pair<const char*, std::string> texts[] = {
        {"CompanyName", QTRA_COMPANY_NAME},       {"ProductName", kProductName},
        {"FileVersion", kProductVersion},         {"ProductVersion", kProductVersion},
        {"FileDescription", program.description}, {"InternalName", program.internalName},
        {"LegalCopyright", QTRA_COPYRIGHT},       {"OriginalFilename", program.originalName},
    };
    for (const auto& text : texts) {
      EXPECT_EQ(text.second, VersionValue(info, std::string("\\StringFileInfo\\040904B0\\") + text.first))
          << program.file << " " << text.first;
    }
  }
}

TEST(ReleaseResources, BothManifestsNameTheVersionAndEveryWindowsSinceVista) {
  const char* const kSupportedOs[] = {
      "{e2011457-1546-43c5-a5fe-008deee3d3f0}",  // Vista
      "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // 7
      "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // 8
      "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // 8.1
      "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // 10 and 11
  };
  char identity[64];
  snprintf(identity, sizeof identity, "<assemblyIdentity version=\"%u.%u.%u.%u\"", QTRA_VERSION_MAJOR,
           QTRA_VERSION_MINOR, QTRA_VERSION_PATCH, QTRA_VERSION_BUILD);
  for (const ShippedProgram& program : kPrograms) {
    HMODULE module = ::LoadLibraryExA(qtest::BinPath(program.file).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(nullptr, found) << program.file;
    const std::string manifest(static_cast<const char*>(::LockResource(::LoadResource(module, found))),
                               ::SizeofResource(module, found));
    ::FreeLibrary(module);
    EXPECT_NE(std::string::npos, manifest.find(identity)) << program.file;
    const size_t open = manifest.find("<compatibility xmlns=\"urn:schemas-microsoft-com:compatibility.v1\">");
    const std::string compatibility =
        open == std::string::npos ? "" : manifest.substr(open, manifest.find("</compatibility>", open) - open);
    for (const char* id : kSupportedOs) {
      EXPECT_NE(std::string::npos, compatibility.find(std::string("<supportedOS Id=\"") + id + "\"/>"))
          << program.file << " " << id;
    }
  }
}

}  // namespace

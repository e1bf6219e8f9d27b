#include "installer/folder_security.h"

#include <windows.h>

#include "common/file_safety.h"
#include "common/paths.h"
#include "installer/folder_identity.h"

namespace {

// The folders whose permissions already keep other users out.
const char* const kProtectingVariables[] = {"USERPROFILE", "ProgramFiles", "ProgramFiles(x86)", "ProgramW6432"};

// A well-known SID of the NT authority, freed with the object.
class NtSid {
 public:
  NtSid(BYTE count, DWORD first, DWORD second) {
    SID_IDENTIFIER_AUTHORITY nt = {SECURITY_NT_AUTHORITY};
    if (!::AllocateAndInitializeSid(&nt, count, first, second, 0, 0, 0, 0, 0, 0, &m_sid)) m_sid = nullptr;
  }
  ~NtSid() {
    if (m_sid != nullptr) ::FreeSid(m_sid);
  }
  NtSid(const NtSid&) = delete;
  NtSid& operator=(const NtSid&) = delete;
  PSID Get() const { return m_sid; }

 private:
  PSID m_sid = nullptr;
};

// The SID of the user this process runs as, into `buffer`.
PSID CurrentUserSid(DWORD* buffer, DWORD size) {
  HANDLE token = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return nullptr;
  DWORD needed = 0;
  const BOOL read = ::GetTokenInformation(token, TokenUser, buffer, size, &needed);
  ::CloseHandle(token);
  return read ? reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid : nullptr;
}

}  // namespace

COwnFolderSecurity::COwnFolderSecurity() {
  DWORD userBuffer[64];  // TOKEN_USER with a SID of at most 68 bytes
  const PSID user = CurrentUserSid(userBuffer, sizeof userBuffer);
  NtSid administrators(2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS);
  NtSid system(1, SECURITY_LOCAL_SYSTEM_RID, 0);
  NtSid users(2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_USERS);
  if (user == nullptr || administrators.Get() == nullptr || system.Get() == nullptr || users.Get() == nullptr) return;
  const struct {
    PSID sid;
    DWORD access;
  } grants[] = {
      {user, FILE_ALL_ACCESS},
      {administrators.Get(), FILE_ALL_ACCESS},
      {system.Get(), FILE_ALL_ACCESS},
      {users.Get(), FILE_GENERIC_READ | FILE_GENERIC_EXECUTE},
  };
  PACL acl = reinterpret_cast<PACL>(m_acl);
  if (!::InitializeAcl(acl, sizeof m_acl, ACL_REVISION)) return;
  for (const auto& grant : grants) {
    // The entries copy the SIDs; the files and folders inside take the same entries.
    if (!::AddAccessAllowedAceEx(acl, ACL_REVISION, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE, grant.access,
                                 grant.sid)) {
      return;
    }
  }
  m_built = ::InitializeSecurityDescriptor(&m_descriptor, SECURITY_DESCRIPTOR_REVISION) &&
            ::SetSecurityDescriptorDacl(&m_descriptor, TRUE, acl, FALSE) &&
            ::SetSecurityDescriptorControl(&m_descriptor, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
}

bool NeedsOwnPermissions(const char* path) {
  char full[MAX_PATH + 1];
  if (!ResolveFullPath(path, full, sizeof full)) return true;
  for (const char* name : kProtectingVariables) {
    char folder[MAX_PATH + 1];
    const DWORD length = ::GetEnvironmentVariableA(name, folder, sizeof folder);
    if (length > 0 && length < sizeof folder && IsAbsolutePath(folder) && !IsRootPath(folder) &&
        IsInsideFolderOnDisk(full, folder)) {
      return false;
    }
  }
  return true;
}

bool CreateOwnFolder(const char* path) {
  // Where the descriptor cannot be built, no folder is made: an open one is
  // what this guards against.
  if (!NeedsOwnPermissions(path)) return ::CreateDirectoryA(path, nullptr) != 0;
  COwnFolderSecurity security;
  SECURITY_ATTRIBUTES attributes = {sizeof attributes, security.Descriptor(), FALSE};
  return attributes.lpSecurityDescriptor != nullptr && ::CreateDirectoryA(path, &attributes) != 0;
}

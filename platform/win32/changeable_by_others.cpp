#include "platform/win32/changeable_by_others.h"

#include <aclapi.h>
#include <sddl.h>

#include <array>
#include <memory>
#include <vector>

#include "platform/win32/full_path.h"
#include "platform/win32/scoped_handle.h"

namespace tavrel {
namespace {

constexpr wchar_t kTrustedInstaller[] =
    L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";

using LocalMemory = std::unique_ptr<void, decltype(&LocalFree)>;

// The administrators, the system and TrustedInstaller: made once, kept to the end.
const std::array<PSID, 3>& TrustedSids() {
  static const std::array<PSID, 3> sids = [] {
    std::array<PSID, 3> made{};
    const WELL_KNOWN_SID_TYPE types[] = {WinBuiltinAdministratorsSid, WinLocalSystemSid};
    for (std::size_t i = 0; i < 2; ++i) {
      DWORD size = SECURITY_MAX_SID_SIZE;
      made[i] = LocalAlloc(LMEM_FIXED, size);
      if (made[i] && !CreateWellKnownSid(types[i], nullptr, made[i], &size)) made[i] = nullptr;
    }
    ConvertStringSidToSidW(kTrustedInstaller, &made[2]);
    return made;
  }();
  return sids;
}

bool Trusted(PSID sid, PSID user) {
  if (sid == nullptr || !IsValidSid(sid)) return false;
  if (user != nullptr && EqualSid(sid, user)) return true;
  for (PSID trusted : TrustedSids()) {
    if (trusted != nullptr && EqualSid(sid, trusted)) return true;
  }
  return false;
}

// The user this process runs as; empty when it cannot be read.
std::vector<BYTE> ProcessUser() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
  const ScopedHandle owned(token);
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::vector<BYTE> user(size);
  if (size == 0 || !GetTokenInformation(token, TokenUser, user.data(), size, &size)) return {};
  return user;
}

// The descriptor of the object at `path`, of a link itself when `link_itself`; null when it
// cannot be read.
LocalMemory DescriptorOf(const std::wstring& path, bool link_itself) {
  const ScopedHandle object(CreateFileW(
      path.c_str(), READ_CONTROL, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      /*lpSecurityAttributes=*/nullptr, OPEN_EXISTING,
      FILE_FLAG_BACKUP_SEMANTICS | (link_itself ? FILE_FLAG_OPEN_REPARSE_POINT : 0),
      /*hTemplateFile=*/nullptr));
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!object.valid() ||
      GetSecurityInfo(object.get(), SE_FILE_OBJECT,
                      OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, nullptr, nullptr,
                      nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
    return LocalMemory(nullptr, &LocalFree);
  }
  return LocalMemory(descriptor, &LocalFree);
}

bool ObjectChangeableByOthers(const std::wstring& path, PSID user, ACCESS_MASK rights) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;
  for (const bool link_itself : {false, true}) {
    if (link_itself && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) break;
    const LocalMemory descriptor = DescriptorOf(path, link_itself);
    if (!descriptor || GrantsToOthers(descriptor.get(), user, rights)) return true;
  }
  return false;
}

}  // namespace

bool GrantsToOthers(PSECURITY_DESCRIPTOR descriptor, PSID user, ACCESS_MASK rights) {
  PSID owner = nullptr;
  BOOL defaulted = FALSE, present = FALSE;
  PACL dacl = nullptr;
  if (!GetSecurityDescriptorOwner(descriptor, &owner, &defaulted) || !Trusted(owner, user) ||
      !GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted) || !present ||
      dacl == nullptr) {
    return true;
  }
  for (DWORD i = 0; i < dacl->AceCount; ++i) {
    void* entry = nullptr;
    if (!GetAce(dacl, i, &entry)) return true;
    const auto* header = static_cast<const ACE_HEADER*>(entry);
    if (header->AceFlags & INHERIT_ONLY_ACE) continue;
    const bool allows = header->AceType == ACCESS_ALLOWED_ACE_TYPE ||
                        header->AceType == ACCESS_ALLOWED_CALLBACK_ACE_TYPE;
    // Object entries carry their SID further in; as allow entries they count whoever they name.
    const bool allows_object = header->AceType == ACCESS_ALLOWED_OBJECT_ACE_TYPE ||
                               header->AceType == ACCESS_ALLOWED_CALLBACK_OBJECT_ACE_TYPE;
    if (!allows && !allows_object) continue;
    const auto* allowed = static_cast<const ACCESS_ALLOWED_ACE*>(entry);
    if (!(allowed->Mask & rights)) continue;
    if (allows_object || !Trusted(const_cast<DWORD*>(&allowed->SidStart), user)) return true;
  }
  return false;
}

bool PathChangeableByOthers(const std::wstring& path, bool with_its_folder) {
  static const std::vector<BYTE> process_user = ProcessUser();
  if (process_user.empty()) return true;
  const PSID user = reinterpret_cast<const TOKEN_USER*>(process_user.data())->User.Sid;
  const std::size_t root = RootLengthOf(path);
  if (root == 0) return true;
  // The object, then each folder above it up to the root; the first two with the writing rights
  // when asked.
  std::wstring at = path;
  while (at.size() > root && at.back() == L'\\') at.pop_back();
  for (int level = 0;; ++level) {
    const ACCESS_MASK rights = with_its_folder && level < 2 ? kWritingRights : kReplacingRights;
    if (ObjectChangeableByOthers(at, user, rights)) return true;
    if (at.size() <= root) return false;
    const std::size_t separator = at.rfind(L'\\');
    at.resize(separator < root ? root : separator);
  }
}

}  // namespace tavrel

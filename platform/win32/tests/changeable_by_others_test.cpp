// Who may change a file or folder, read from its security descriptor as Windows would give it.
// Wine builds every descriptor from Unix modes and shows none of these, so they are written here
// as SDDL, the way Windows' own tools print them.

#include "platform/win32/changeable_by_others.h"

#include <gtest/gtest.h>
#include <sddl.h>

#include <memory>

namespace tavrel {
namespace {

constexpr wchar_t kTI[] = L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
constexpr wchar_t kBob[] = L"S-1-5-21-1-2-3-1001";    // a standard user
constexpr wchar_t kAdmin[] = L"S-1-5-21-1-2-3-500";  // the administrator running the installer

std::unique_ptr<void, decltype(&LocalFree)> Parsed(const std::wstring& sddl) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  EXPECT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1,
                                                                   &descriptor, nullptr))
      << std::wstring(sddl).c_str();
  return {descriptor, &LocalFree};
}

TEST(ChangeableByOthers, OnlyAdministratorsSystemTrustedInstallerAndTheUserMayChangeAnything) {
  const std::wstring ti = kTI;
  const struct {
    const char* name;
    std::wstring sddl;
    const wchar_t* user;
    bool writable;     // with the rights over a file or its own folder
    bool replaceable;  // with the rights over a folder further up
  } cases[] = {
      // A folder made under C:\ inherits Modify for Authenticated Users.
      {"DriveRootsChild",
       L"O:BAD:AI(A;ID;FA;;;BA)(A;OICIIOID;GA;;;BA)(A;ID;FA;;;SY)(A;OICIID;0x1200a9;;;BU)"
       L"(A;ID;0x1301bf;;;AU)(A;OICIIOID;SDGXGWGR;;;AU)",
       kAdmin, true, true},
      // The root itself lets users make folders, and nothing more.
      {"DriveRoot",
       L"O:" + ti + L"D:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)(A;;0x4;;;AU)"
                    L"(A;OICIIO;SDGXGWGR;;;AU)",
       kAdmin, true, false},
      {"System32",
       L"O:" + ti + L"D:PAI(A;;FA;;;" + ti + L")(A;CIIO;GA;;;" + ti +
           L")(A;;0x1301bf;;;SY)(A;OICIIO;GA;;;SY)(A;;0x1301bf;;;BA)(A;OICIIO;GA;;;BA)"
           L"(A;;0x1200a9;;;BU)(A;OICIIO;GXGR;;;BU)(A;OICIIO;GA;;;CO)(A;;0x1200a9;;;AC)",
       kAdmin, false, false},
      {"ProgramFiles",
       L"O:" + ti + L"D:PAI(A;;FA;;;" + ti + L")(A;CIIO;GA;;;" + ti +
           L")(A;;0x1301bf;;;SY)(A;OICIIO;GA;;;SY)(A;;0x1301bf;;;BA)(A;OICIIO;GA;;;BA)"
           L"(A;;0x1200a9;;;BU)(A;OICIIO;GXGR;;;BU)(A;OICIIO;GA;;;CO)",
       kAdmin, false, false},
      // A profile is its user's: another's to an administrator, his own when he runs it.
      {"ProfileOfAnother",
       std::wstring(L"O:") + kBob + L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FA;;;" + kBob +
           L")",
       kAdmin, true, true},
      {"OwnProfile",
       std::wstring(L"O:") + kBob + L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FA;;;" + kBob +
           L")",
       kBob, false, false},
      {"OwnedByAStandardUser", std::wstring(L"O:") + kBob + L"D:P(A;;FA;;;BA)(A;;FA;;;SY)",
       kAdmin, true, true},
      {"InheritOnlyCreatorOwner", L"O:BAD:P(A;;FA;;;BA)(A;OICIIO;GA;;;CO)", kAdmin, false, false},
      {"ReadAndRunForEveryone", L"O:SYD:P(A;;FA;;;SY)(A;;0x1200a9;;;WD)", kAdmin, false, false},
      {"TakeOwnershipForUsers", L"O:SYD:P(A;;FA;;;SY)(A;;WO;;;BU)", kAdmin, true, true},
      {"NoDacl", L"O:BA", kAdmin, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto descriptor = Parsed(c.sddl);
    PSID user = nullptr;
    ASSERT_TRUE(ConvertStringSidToSidW(c.user, &user));
    EXPECT_EQ(GrantsToOthers(descriptor.get(), user, kWritingRights), c.writable);
    EXPECT_EQ(GrantsToOthers(descriptor.get(), user, kReplacingRights), c.replaceable);
    LocalFree(user);
  }
}

}  // namespace
}  // namespace tavrel

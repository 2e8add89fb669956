// Who may change a file or folder, read from its security descriptor as Windows gives it. Wine
// builds every descriptor from Unix modes and shows none of these, so they are written here in
// SDDL, as Windows' own tools print them.

#include "platform/win32/changeable_by_others.h"

#include <gtest/gtest.h>
#include <sddl.h>

namespace tavrel {
namespace {

#define TI L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464"
#define BOB L"S-1-5-21-1-2-3-1001"  // a standard user
#define PROFILE L"O:" BOB L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FA;;;" BOB L")"

TEST(ChangeableByOthers, OnlyAdministratorsSystemTrustedInstallerAndTheUserMayChangeAnything) {
  const struct {
    const wchar_t* sddl;
    const wchar_t* user;  // who runs the installer
    bool writable;        // by others, with the rights over a file or its own folder
    bool replaceable;     // by others, with the rights over a folder further up
  } cases[] = {
      // A folder made under C:\ inherits Modify for Authenticated Users; the root itself lets
      // them make folders, and nothing more.
      {L"O:BAD:AI(A;ID;FA;;;BA)(A;ID;FA;;;SY)(A;OICIID;0x1200a9;;;BU)(A;ID;0x1301bf;;;AU)"
       L"(A;OICIIOID;SDGXGWGR;;;AU)", L"S-1-5-18", true, true},
      {L"O:" TI L"D:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;;0x4;;;AU)(A;OICIIO;SDGXGWGR;;;AU)",
       L"S-1-5-18", true, false},
      // System32 and Program Files alike: TrustedInstaller's, changed by administrators and the
      // system.
      {L"O:" TI L"D:PAI(A;;FA;;;" TI L")(A;CIIO;GA;;;" TI L")(A;;0x1301bf;;;SY)(A;OICIIO;GA;;;SY)"
       L"(A;;0x1301bf;;;BA)(A;OICIIO;GA;;;BA)(A;;0x1200a9;;;BU)(A;OICIIO;GXGR;;;BU)"
       L"(A;OICIIO;GA;;;CO)", L"S-1-5-18", false, false},
      // A profile is its user's: another's to an administrator, his own when he runs it.
      {PROFILE, L"S-1-5-18", true, true},
      {PROFILE, BOB, false, false},
      {L"O:" BOB L"D:P(A;;FA;;;BA)(A;;FA;;;SY)", L"S-1-5-18", true, true},
      {L"O:BAD:P(A;;FA;;;BA)(A;OICIIO;GA;;;CO)", L"S-1-5-18", false, false},
      {L"O:SYD:P(A;;FA;;;SY)(A;;WO;;;BU)", L"S-1-5-18", true, true},
      {L"O:BA", L"S-1-5-18", true, true},  // no DACL: everybody may do anything
  };
  for (const auto& c : cases) {
    void *descriptor = nullptr, *user = nullptr;  // a PSECURITY_DESCRIPTOR and a PSID
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(c.sddl, SDDL_REVISION_1,
                                                                     &descriptor, nullptr));
    ASSERT_TRUE(ConvertStringSidToSidW(c.user, &user));
    EXPECT_EQ(GrantsToOthers(descriptor, user, kWritingRights), c.writable) << c.sddl;
    EXPECT_EQ(GrantsToOthers(descriptor, user, kReplacingRights), c.replaceable) << c.sddl;
    LocalFree(user), LocalFree(descriptor);
  }
}

}  // namespace
}  // namespace tavrel

#pragma once

#include <windows.h>

#include <string>

namespace tavrel {

// The rights over an object on a path that let their holder replace it, rename it or take it over.
inline constexpr ACCESS_MASK kReplacingRights =
    DELETE | FILE_DELETE_CHILD | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;
// Over a file and its own folder, also those that change its bytes or put a file beside it (a
// DLL that it would load). Over folders further up these only add new names, which change
// nothing on the path: the drive's root lets every user make folders.
inline constexpr ACCESS_MASK kWritingRights =
    kReplacingRights | FILE_WRITE_DATA | FILE_APPEND_DATA;

// True when `descriptor` lets anybody but the administrators, the system, TrustedInstaller and
// `user` have one of `rights` over the object: an owner who is none of them, an allow entry for
// another that applies to the object itself (inherit-only entries do not), or no DACL at all.
bool GrantsToOthers(PSECURITY_DESCRIPTOR descriptor, PSID user, ACCESS_MASK rights);

// True when others (as above, `user` being the one running this process) can change the object
// at the full path `path`, with the writing rights over it and over its folder when
// `with_its_folder`, and replace it or a folder above it up to the drive's root. A link on the
// path counts as its own object and as its target's. True when a descriptor cannot be read.
bool PathChangeableByOthers(const std::wstring& path, bool with_its_folder);

}  // namespace tavrel

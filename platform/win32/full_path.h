#pragma once

#include <optional>
#include <string>

namespace tavrel {

// The full path that Windows makes of `path` when it opens it: relative to the current folder or
// drive, with "." and ".." resolved, "/" turned into "\" and a name's trailing dots and spaces
// dropped. Nothing when it cannot be made.
std::optional<std::wstring> FullPathOf(const std::wstring& path);

// The length of a full path's root, "C:\" or "\\server\share\"; 0 when it has neither.
std::size_t RootLengthOf(const std::wstring& full_path);

}  // namespace tavrel

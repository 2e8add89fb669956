#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tavrel::volstrak {

// The file version of the version resource of the file at `path` (VS_FIXEDFILEINFO's
// dwFileVersionMS in the high half, dwFileVersionLS in the low half), so that versions order as
// numbers. Nothing when the file is missing, is not a PE file, or carries no version resource.
std::optional<std::uint64_t> ReadFileVersion(const std::wstring& path);

}  // namespace tavrel::volstrak

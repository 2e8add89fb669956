#pragma once

#include <cstdint>
#include <optional>

#include "image/byte_source.h"
#include "image/pe_headers.h"

namespace tavrel {

// The file version of the image's version resource (VS_FIXEDFILEINFO's dwFileVersionMS in the
// high half, dwFileVersionLS in the low half), so that versions order as numbers; from the
// language-neutral resource where there is one, else from the first language. Nothing when the
// image has no version resource or it is damaged.
std::optional<std::uint64_t> ReadFixedFileVersion(const ByteSource& file, const PeHeaders& headers);

}  // namespace tavrel

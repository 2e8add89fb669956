#pragma once

#include <optional>
#include <string>
#include <vector>

#include "image/byte_source.h"
#include "image/pe_headers.h"

namespace tavrel {

// The names of the DLLs that the image imports when it is loaded, in the order of its import
// table: empty when it imports nothing, nothing when the table is damaged.
std::optional<std::vector<std::string>> ReadImportNames(const ByteSource& file,
                                                        const PeHeaders& headers);

// The same for the DLLs it loads only at a first call (delay-loaded imports).
std::optional<std::vector<std::string>> ReadDelayImportNames(const ByteSource& file,
                                                             const PeHeaders& headers);

// The names that the image exports, in the order of its name table.
std::optional<std::vector<std::string>> ReadExportNames(const ByteSource& file,
                                                        const PeHeaders& headers);

}  // namespace tavrel

#pragma once

#include <optional>
#include <string>

#include "platform/file_system.h"
#include "platform/profile.h"

namespace tavrel {

// The value of key in section of the description at ini_path, as a 1024-byte buffer holds it (at
// most 1023 bytes in the ANSI code page); empty when the file, section or key is missing; nothing
// when the description cannot be read exactly (see Profile::GetString).
std::optional<std::string> ReadSetupValue(Profile& profile, const std::string& ini_path,
                                          const std::string& section, const std::string& key);

// Whether the description begins with the UTF-8 byte-order mark, which Notepad writes and
// Windows' lookup takes for part of the first line.
bool BeginsWithUtf8Mark(FileSystem& files, const std::string& ini_path);

}  // namespace tavrel

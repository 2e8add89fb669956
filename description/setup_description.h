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

// Whether the description begins with a byte-order mark that Windows' lookup reads as text: the
// UTF-8 mark, which Notepad writes and the lookup takes for part of the first line, or the UTF-16
// big-endian one, whose file the lookup reads as ANSI bytes.
bool BeginsWithMarkReadAsText(FileSystem& files, const std::string& ini_path);

}  // namespace tavrel

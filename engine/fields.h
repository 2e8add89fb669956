#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavrel {

// Field n (counted from 1) of text split at separator: the text between separator n - 1 and
// separator n; the last field runs to the end; a text with fewer than n - 1 separators has an
// empty field n; any n of 1 or less gives the first field.
std::string GetField(std::string_view text, std::int16_t n, char separator);

// A folder field beginning with "$WIN" or "$SYSTEM" (exactly, in upper case) names the Windows or
// the system directory, with the rest of the field appended directly; any other field is
// returned unchanged.
std::string ExpandFolderMacro(std::string_view folder, std::string_view win_dir,
                              std::string_view sys_dir);

}  // namespace tavrel

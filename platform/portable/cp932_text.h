#pragma once

#include <string>
#include <string_view>

namespace tavrel {

// Conversions between code page 932 and UTF-8 with the character mapping of a Japanese Windows,
// for the native builds, where no Windows conversion function exists.

// A pair or byte that has no character in code page 932 becomes U+30FB "・", the default
// character of Windows' own conversion.
std::string Cp932ToUtf8(std::string_view bytes);

// A character that code page 932 cannot hold becomes "?" ("??" beyond U+FFFF, one for each
// UTF-16 unit). Windows' own conversion puts a look-alike in place of some of them ("e" for
// "é"); that table is not repeated here.
std::string Utf8ToCp932(std::string_view text);

}  // namespace tavrel

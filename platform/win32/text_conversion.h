#pragma once

#include <string>
#include <string_view>

namespace tavrel {

// UTF-8 inside; UTF-16 for the W functions; the system's ANSI code page for the A functions and
// the support library. Invalid input becomes U+FFFD; a character the ANSI code page lacks
// becomes "?", never a look-alike ("best fit" could turn a name into "\" or "..").
std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);
std::string Utf8ToAnsi(std::string_view text);
std::string AnsiToUtf8(std::string_view text);

}  // namespace tavrel

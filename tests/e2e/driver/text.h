#pragma once

#include <string>
#include <string_view>

namespace tavrel::e2e {

// The bytes of `utf8` in code page 932 (Shift-JIS), the encoding packagers write qxSetup.ini in.
// Throws when a character has no Shift-JIS form, so a test never writes a silently damaged file.
std::string ShiftJis(std::string_view utf8);

}  // namespace tavrel::e2e

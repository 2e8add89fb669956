#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace tavrel {

// UTF-8 inside; UTF-16 for the W functions; the system's ANSI code page for the A functions and
// the support library. Every conversion is exact or fails: invalid input, and any character that
// the target cannot hold, give nothing, never "?" or a look-alike ("best fit" could turn "é"
// into "e", or a name into "\" or "..").
std::optional<std::wstring> Utf8ToWide(std::string_view text);
std::optional<std::string> WideToUtf8(std::wstring_view text);
std::optional<std::string> WideToAnsi(std::wstring_view text);
std::optional<std::string> Utf8ToAnsi(std::string_view text);
std::optional<std::string> AnsiToUtf8(std::string_view text);

// The flags of an exact conversion from UTF-16 into `code_page`. Windows refuses flags that a
// code page does not take (ERROR_INVALID_FLAGS, ERROR_INVALID_PARAMETER), and Wine does not.
struct NarrowingFlags {
  DWORD flags;
  bool reports_default_char;  // whether lpUsedDefaultChar may be passed
};
NarrowingFlags NarrowingFlagsFor(UINT code_page);

// The flags of a conversion from `code_page` into UTF-16 that fails on invalid input.
DWORD WideningFlagsFor(UINT code_page);

}  // namespace tavrel

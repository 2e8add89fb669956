#pragma once

#include <optional>
#include <string>

namespace tavrel::volstrak {

// `text`, in the ANSI code page, as UTF-16. Nothing when `text` is null or holds bytes that are
// not valid in the code page: a replacement character could name another file.
std::optional<std::wstring> WidenAnsi(const char* text);

}  // namespace tavrel::volstrak

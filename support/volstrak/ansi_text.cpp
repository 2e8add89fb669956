#include "support/volstrak/ansi_text.h"

#include <windows.h>

#include <climits>
#include <cstring>

namespace tavrel::volstrak {

std::optional<std::wstring> WidenAnsi(const char* text) {
  if (text == nullptr) return std::nullopt;
  const std::size_t length = std::strlen(text);
  if (length == 0) return std::wstring();
  if (length > INT_MAX) return std::nullopt;
  const int size = static_cast<int>(length);
  const int wide_size = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, size, nullptr, 0);
  if (wide_size <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(wide_size), L'\0');
  if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, size, wide.data(), wide_size) !=
      wide_size) {
    return std::nullopt;
  }
  return wide;
}

}  // namespace tavrel::volstrak

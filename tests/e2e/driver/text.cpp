#include "tests/e2e/driver/text.h"

#include <windows.h>

#include <stdexcept>

#include "platform/win32/text_conversion.h"

namespace tavrel::e2e {

std::string ShiftJis(std::string_view utf8) {
  const std::wstring wide = Utf8ToWide(utf8);
  if (wide.empty()) return {};
  const int wide_length = static_cast<int>(wide.size());
  BOOL used_default = FALSE;
  const int length =
      WideCharToMultiByte(932, 0, wide.data(), wide_length, nullptr, 0, nullptr, &used_default);
  std::string bytes(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(932, 0, wide.data(), wide_length, bytes.data(), length, nullptr,
                      &used_default);
  if (used_default) throw std::runtime_error("no Shift-JIS form: " + std::string(utf8));
  return bytes;
}

}  // namespace tavrel::e2e

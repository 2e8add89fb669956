#include "tests/e2e/driver/text.h"

#include <windows.h>

#include <stdexcept>

namespace tavrel::e2e {
namespace {

std::string Narrow(std::wstring_view wide, UINT code_page, BOOL* used_default) {
  if (wide.empty()) return {};
  const int wide_length = static_cast<int>(wide.size());
  const int length = WideCharToMultiByte(code_page, 0, wide.data(), wide_length, nullptr, 0,
                                         nullptr, used_default);
  std::string narrow(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(code_page, 0, wide.data(), wide_length, narrow.data(), length, nullptr,
                      used_default);
  return narrow;
}

}  // namespace

std::wstring Wide(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int utf8_length = static_cast<int>(utf8.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), utf8_length, nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), utf8_length, wide.data(), length);
  return wide;
}

std::string Utf8(std::wstring_view wide) { return Narrow(wide, CP_UTF8, nullptr); }

std::string ShiftJis(std::string_view utf8) {
  BOOL used_default = FALSE;
  std::string bytes = Narrow(Wide(utf8), 932, &used_default);
  if (used_default) throw std::runtime_error("no Shift-JIS form: " + std::string(utf8));
  return bytes;
}

}  // namespace tavrel::e2e

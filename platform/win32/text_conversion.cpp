#include "platform/win32/text_conversion.h"

#include <windows.h>

namespace tavrel {
namespace {

std::wstring ToWide(UINT code_page, std::string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(code_page, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(code_page, 0, text.data(), size, wide.data(), length);
  return wide;
}

std::string FromWide(UINT code_page, DWORD flags, std::wstring_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length =
      WideCharToMultiByte(code_page, flags, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(code_page, flags, text.data(), size, narrow.data(), length, nullptr, nullptr);
  return narrow;
}

}  // namespace

std::wstring Utf8ToWide(std::string_view text) { return ToWide(CP_UTF8, text); }

std::string WideToUtf8(std::wstring_view text) { return FromWide(CP_UTF8, 0, text); }

std::string Utf8ToAnsi(std::string_view text) {
  return FromWide(CP_ACP, WC_NO_BEST_FIT_CHARS, Utf8ToWide(text));
}

std::string AnsiToUtf8(std::string_view text) { return WideToUtf8(ToWide(CP_ACP, text)); }

}  // namespace tavrel

#include "platform/win32/text_conversion.h"

namespace tavrel {
namespace {

// Code pages that take no flags at all.
bool TakesNoFlags(UINT code_page) {
  return code_page == CP_UTF7 || code_page == 42 || (code_page >= 50220 && code_page <= 50229) ||
         (code_page >= 57002 && code_page <= 57011);
}

constexpr UINT kGb18030 = 54936;

std::optional<std::wstring> ToWide(UINT code_page, std::string_view text) {
  if (text.empty()) return std::wstring();
  const DWORD flags = WideningFlagsFor(code_page);
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(code_page, flags, text.data(), size, nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  if (MultiByteToWideChar(code_page, flags, text.data(), size, wide.data(), length) != length) {
    return std::nullopt;
  }
  return wide;
}

std::optional<std::string> FromWide(UINT code_page, std::wstring_view text) {
  if (text.empty()) return std::string();
  const NarrowingFlags how = NarrowingFlagsFor(code_page);
  const int size = static_cast<int>(text.size());
  BOOL used_default = FALSE;
  BOOL* const used_default_out = how.reports_default_char ? &used_default : nullptr;
  const int length = WideCharToMultiByte(code_page, how.flags, text.data(), size, nullptr, 0,
                                         nullptr, used_default_out);
  if (length <= 0 || used_default) return std::nullopt;
  std::string narrow(static_cast<std::size_t>(length), '\0');
  if (WideCharToMultiByte(code_page, how.flags, text.data(), size, narrow.data(), length, nullptr,
                          used_default_out) != length ||
      used_default) {
    return std::nullopt;
  }
  // Code pages that take no WC_NO_BEST_FIT_CHARS may still map a character to a look-alike
  // without reporting it: only the way back shows it.
  const std::optional<std::wstring> back = ToWide(code_page, narrow);
  if (!back || *back != text) return std::nullopt;
  return narrow;
}

}  // namespace

NarrowingFlags NarrowingFlagsFor(UINT code_page) {
  // UTF-8 and GB18030 hold every character: only invalid UTF-16 (a lone surrogate) can fail.
  if (code_page == CP_UTF8) return {WC_ERR_INVALID_CHARS, false};
  if (code_page == kGb18030) return {WC_ERR_INVALID_CHARS, true};
  if (TakesNoFlags(code_page)) return {0, code_page != CP_UTF7};
  return {WC_NO_BEST_FIT_CHARS, true};
}

DWORD WideningFlagsFor(UINT code_page) {
  return TakesNoFlags(code_page) ? 0 : MB_ERR_INVALID_CHARS;
}

std::optional<std::wstring> Utf8ToWide(std::string_view text) { return ToWide(CP_UTF8, text); }

std::optional<std::string> WideToUtf8(std::wstring_view text) { return FromWide(CP_UTF8, text); }

std::optional<std::string> WideToAnsi(std::wstring_view text) { return FromWide(GetACP(), text); }

std::optional<std::string> Utf8ToAnsi(std::string_view text) {
  const std::optional<std::wstring> wide = Utf8ToWide(text);
  if (!wide) return std::nullopt;
  return WideToAnsi(*wide);
}

std::optional<std::string> AnsiToUtf8(std::string_view text) {
  const std::optional<std::wstring> wide = ToWide(GetACP(), text);
  if (!wide) return std::nullopt;
  return WideToUtf8(*wide);
}

}  // namespace tavrel

#include "platform/win32/win32_profile.h"

#include <windows.h>

#include <cstring>

#include "platform/win32/cut_character.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/text_conversion.h"

namespace tavrel {
namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

// Whether the file starts with a byte-order mark.
bool StartsWithMark(const std::wstring& path) {
  const ScopedHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      /*lpSecurityAttributes=*/nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, /*hTemplateFile=*/nullptr));
  unsigned char start[3] = {};
  DWORD read = 0;
  if (!file.valid() || !ReadFile(file.get(), start, sizeof start, &read, nullptr)) return false;
  // UTF-16 in either order; UTF-8, which Wine reads as Unicode where Windows does not.
  return (read >= 2 &&
          ((start[0] == 0xFF && start[1] == 0xFE) || (start[0] == 0xFE && start[1] == 0xFF))) ||
         (read == 3 && start[0] == 0xEF && start[1] == 0xBB && start[2] == 0xBF);
}

// The value as the W function reads it: from a Unicode description, every character as the file
// holds it. Nothing when the names cannot be handed over.
std::optional<std::wstring> WideValue(const std::string& section, const std::string& key,
                                      const std::string& path, std::size_t buffer_chars) {
  const std::optional<std::wstring> wide_section = Utf8ToWide(section);
  const std::optional<std::wstring> wide_key = Utf8ToWide(key);
  const std::optional<std::wstring> wide_path = Utf8ToWide(path);
  if (!wide_section || !wide_key || !wide_path) return std::nullopt;
  std::wstring buffer(buffer_chars, L'\0');
  GetPrivateProfileStringW(wide_section->c_str(), wide_key->c_str(), L"", buffer.data(),
                           static_cast<DWORD>(buffer_chars), wide_path->c_str());
  buffer.resize(wcsnlen(buffer.data(), buffer_chars - 1));
  // A cut between the halves of a surrogate pair leaves half a character, as a cut between the
  // bytes of a double-byte character does.
  if (!buffer.empty() && IS_HIGH_SURROGATE(buffer.back())) buffer.pop_back();
  return buffer;
}

}  // namespace

bool Win32Profile::ReadAsUnicode(const std::string& path) {
  const std::optional<std::wstring> wide_path = Utf8ToWide(path);
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!wide_path || !GetFileAttributesExW(wide_path->c_str(), GetFileExInfoStandard, &data)) {
    return false;
  }
  const std::uint64_t size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  const std::uint64_t written = (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                                data.ftLastWriteTime.dwLowDateTime;
  if (!mark_ || mark_->path != path || mark_->size != size || mark_->written != written) {
    mark_ = Mark{path, size, written, StartsWithMark(*wide_path)};
  }
  return mark_->unicode;
}

std::optional<std::string> Win32Profile::GetString(const std::string& section,
                                                   const std::string& key, const std::string& path,
                                                   std::size_t buffer_bytes) {
  const std::optional<std::string> ansi_section = Utf8ToAnsi(section);
  const std::optional<std::string> ansi_key = Utf8ToAnsi(key);
  const std::optional<std::string> ansi_path = Utf8ToAnsi(path);
  // A path the A function would cut or could not spell makes it read another file, or none, and
  // report every key missing.
  if (buffer_bytes == 0 || !ansi_section || !ansi_key || !ansi_path ||
      ansi_path->size() >= MAX_PATH) {
    return std::nullopt;
  }
  std::string buffer(buffer_bytes, '\0');
  GetPrivateProfileStringA(ansi_section->c_str(), ansi_key->c_str(), "", buffer.data(),
                           static_cast<DWORD>(buffer_bytes), ansi_path->c_str());
  buffer.resize(strnlen(buffer.data(), buffer_bytes - 1));
  buffer.resize(WithoutCutCharacter(buffer, buffer_bytes, CP_ACP).size());
  std::optional<std::string> value = AnsiToUtf8(buffer);
  // A Unicode description can hold characters that the ANSI code page lacks, and the A function
  // hands them over as look-alikes ("café" as "cafe"); and bytes that the code page maps but an
  // exact conversion refuses arrive as no text. The W function reads both as the file holds them:
  // such a value comes back so, and a name in it fails instead of naming another file.
  if (!value || ReadAsUnicode(path)) {
    const std::optional<std::wstring> wide = WideValue(section, key, path, buffer_bytes);
    if (!wide) return std::nullopt;
    if (!value || !WideToAnsi(*wide)) value = WideToUtf8(*wide);
  }
  // Bytes that are not text in the ANSI code page reach the A function as U+FFFD where the code
  // page is UTF-8: such a value names no file that the description meant.
  if (value && value->find(kReplacementCharacter) != std::string::npos) return std::nullopt;
  return value;
}

}  // namespace tavrel

#include "platform/win32/win32_profile.h"

#include <windows.h>

#include <cstring>

#include "platform/win32/text_conversion.h"

namespace tavrel {
namespace {

// Whether the text ends in the first byte of a double-byte character whose second byte was cut
// off. Lead and trail bytes share values, so only a scan from the start can tell.
bool EndsInLoneLeadByte(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    if (!IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(text[i]))) {
      ++i;
    } else if (i + 1 == text.size()) {
      return true;
    } else {
      i += 2;
    }
  }
  return false;
}

}  // namespace

std::string Win32Profile::GetString(const std::string& section, const std::string& key,
                                    const std::string& path, std::size_t buffer_bytes) {
  if (buffer_bytes == 0) return {};
  std::string buffer(buffer_bytes, '\0');
  GetPrivateProfileStringA(Utf8ToAnsi(section).c_str(), Utf8ToAnsi(key).c_str(), "", buffer.data(),
                           static_cast<DWORD>(buffer_bytes), Utf8ToAnsi(path).c_str());
  buffer.resize(strnlen(buffer.data(), buffer_bytes - 1));
  if (buffer.size() == buffer_bytes - 1 && EndsInLoneLeadByte(buffer)) buffer.pop_back();
  return AnsiToUtf8(buffer);
}

}  // namespace tavrel

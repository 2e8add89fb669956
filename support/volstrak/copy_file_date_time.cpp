#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "support/volstrak/ansi_text.h"
#include "support/volstrak/handles.h"
#include "support/volstrak/volstrak.h"

namespace tavrel::volstrak {
namespace {

std::int32_t CopyStamps(const char* destination, const char* source) {
  const std::optional<std::wstring> wide_destination = WidenAnsi(destination);
  const std::optional<std::wstring> wide_source = WidenAnsi(source);
  if (!wide_destination || !wide_source) return 0;
  // Read without opening the source, so that its own last-access time stays as it is.
  WIN32_FILE_ATTRIBUTE_DATA stamps;
  if (!GetFileAttributesExW(wide_source->c_str(), GetFileExInfoStandard, &stamps)) return 0;
  // Setting times needs only FILE_WRITE_ATTRIBUTES, which a read-only file still grants.
  const UniqueHandle file =
      OpenedFile(CreateFileW(wide_destination->c_str(), FILE_WRITE_ATTRIBUTES,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return 0;
  return SetFileTime(file.get(), &stamps.ftCreationTime, &stamps.ftLastAccessTime,
                     &stamps.ftLastWriteTime)
             ? 1
             : 0;
}

}  // namespace
}  // namespace tavrel::volstrak

extern "C" std::int32_t WINAPI CopyFileDateTime(const char* destination, const char* source) {
  return tavrel::volstrak::CopyStamps(destination, source);
}

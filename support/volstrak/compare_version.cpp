#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "support/volstrak/ansi_text.h"
#include "support/volstrak/file_version.h"
#include "support/volstrak/volstrak.h"

namespace tavrel::volstrak {
namespace {

std::optional<std::uint64_t> VersionOf(const char* ansi_path) {
  const std::optional<std::wstring> path = WidenAnsi(ansi_path);
  if (!path || path->empty()) return std::nullopt;
  return ReadFileVersion(*path);
}

std::int32_t Compare(const char* source, const char* destination, std::int32_t* comparison) {
  if (comparison == nullptr) return 0;
  const std::optional<std::uint64_t> source_version = VersionOf(source);
  if (!source_version) return 0;
  const std::optional<std::uint64_t> destination_version = VersionOf(destination);
  if (!destination_version) return 0;
  *comparison = *source_version > *destination_version   ? 1
                : *source_version < *destination_version ? -1
                                                         : 0;
  return 1;
}

}  // namespace
}  // namespace tavrel::volstrak

extern "C" std::int32_t WINAPI CompareVersion(const char* source, const char* destination,
                                              std::int32_t* comparison) {
  return tavrel::volstrak::Compare(source, destination, comparison);
}

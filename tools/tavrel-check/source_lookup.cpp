#include "tools/tavrel-check/source_lookup.h"

#include <string>
#include <system_error>

#include "text/ini_lines.h"

namespace tavrel {

namespace {

std::optional<std::filesystem::path> FindName(const std::filesystem::path& folder,
                                              std::string_view name) {
  std::error_code error;
  const std::filesystem::path exact = folder / PathFromUtf8(name);
  if (std::filesystem::exists(exact, error)) return exact;
  for (const auto& item : std::filesystem::directory_iterator(folder, error)) {
    if (SameIniName(Utf8FromPath(item.path().filename()), name)) return item.path();
  }
  return std::nullopt;
}

}  // namespace

std::filesystem::path PathFromUtf8(std::string_view text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::optional<std::filesystem::path> FindIgnoringCase(const std::filesystem::path& folder,
                                                      std::string_view relative) {
  // A name ending in a separator names a folder, never a file.
  if (relative.empty() || relative.back() == '\\' || relative.back() == '/') return std::nullopt;
  std::filesystem::path found = folder;
  while (!relative.empty()) {
    const std::size_t end = relative.find_first_of("\\/");
    const std::string_view name = relative.substr(0, end);
    relative = end == std::string_view::npos ? std::string_view() : relative.substr(end + 1);
    if (name.empty()) continue;  // doubled separators count as one
    const std::optional<std::filesystem::path> next = FindName(found, name);
    if (!next) return std::nullopt;
    found = *next;
  }
  std::error_code error;
  if (!std::filesystem::is_regular_file(found, error)) return std::nullopt;
  return found;
}

}  // namespace tavrel

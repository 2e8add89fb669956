#include "engine/fields.h"

namespace tavrel {

std::string GetField(std::string_view text, std::int16_t n, char separator) {
  std::size_t start = 0;
  for (int skipped = 1; skipped < n; ++skipped) {
    const std::size_t found = text.find(separator, start);
    if (found == std::string_view::npos) return {};  // fewer than n - 1 separators
    start = found + 1;
  }
  const std::size_t end = text.find(separator, start);
  return std::string(text.substr(start, end == std::string_view::npos ? end : end - start));
}

std::string ExpandFolderMacro(std::string_view folder, std::string_view win_dir,
                              std::string_view sys_dir) {
  constexpr std::string_view kWin = "$WIN";
  constexpr std::string_view kSystem = "$SYSTEM";
  if (folder.starts_with(kWin)) return std::string(win_dir).append(folder.substr(kWin.size()));
  if (folder.starts_with(kSystem)) {
    return std::string(sys_dir).append(folder.substr(kSystem.size()));
  }
  return std::string(folder);
}

}  // namespace tavrel

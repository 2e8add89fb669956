#include "tools/tavrel-check/windows_paths.h"

#include <algorithm>

#include "text/ini_lines.h"

namespace tavrel {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

bool IsAbsoluteWindowsPath(std::string_view path) {
  const bool drive = path.size() >= 3 &&
                     ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
                     path[1] == ':' && IsSeparator(path[2]);
  const bool unc = path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
  return drive || unc;
}

std::vector<std::string> PathNames(std::string_view path) {
  std::vector<std::string> names;
  while (!path.empty()) {
    const auto end = std::find_if(path.begin(), path.end(), IsSeparator);
    const std::string_view name(path.begin(), end);
    path.remove_prefix(name.size() + (end == path.end() ? 0 : 1));
    if (name == ".." && names.size() > 1) {  // never above the drive or share
      names.pop_back();
    } else if (!name.empty() && name != "." && name != "..") {
      names.push_back(FoldIniName(name));
    }
  }
  return names;
}

bool IsWithin(std::string_view path, std::string_view folder) {
  const std::vector<std::string> inner = PathNames(path);
  const std::vector<std::string> outer = PathNames(folder);
  return inner.size() >= outer.size() && std::equal(outer.begin(), outer.end(), inner.begin());
}

std::string_view FolderOf(std::string_view path) {
  const std::size_t last = path.find_last_of("\\/");
  return last == std::string_view::npos ? std::string_view() : path.substr(0, last);
}

}  // namespace tavrel

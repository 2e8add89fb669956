#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace tavrel {

// The ordinary file that Windows would open for `relative` (UTF-8, parts separated by "\" or
// "/") inside folder, each name matched ignoring the letter case of A-Z; nothing when there is
// none. Works the same where the file system itself tells letter case apart.
std::optional<std::filesystem::path> FindIgnoringCase(const std::filesystem::path& folder,
                                                      std::string_view relative);

std::filesystem::path PathFromUtf8(std::string_view text);
std::string Utf8FromPath(const std::filesystem::path& path);

}  // namespace tavrel

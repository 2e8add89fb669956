#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavrel {

// "C:\..." or a UNC path "\\server\...": the only folders that do not hang on the current
// drive or folder of the installer.
bool IsAbsoluteWindowsPath(std::string_view path);

// The names of a Windows path, letter case folded (A-Z), with "\" and "/" alike, empty names and
// "." dropped and ".." taking away the name before it, as Windows reads a full path.
std::vector<std::string> PathNames(std::string_view path);

// Whether `path` is `folder` or lies below it, as Windows would read both.
bool IsWithin(std::string_view path, std::string_view folder);

// The folder part of a path: everything before its last "\" or "/".
std::string_view FolderOf(std::string_view path);

}  // namespace tavrel

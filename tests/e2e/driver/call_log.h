#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tavrel::e2e {

// The calls that the logging VOLSTRAK.dll recorded, one line each, split at "|":
// {"CompareVersion", source, destination, result, comparison}. Empty when nothing was logged.
using LoggedCall = std::vector<std::string>;
std::vector<LoggedCall> ReadCallLog(const std::filesystem::path& log);

// True when `call` matches `pattern` field by field; "*" in the pattern matches any field.
bool CallMatches(const LoggedCall& call, const LoggedCall& pattern);

}  // namespace tavrel::e2e

#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/profile.h"

namespace tavrel {

// Text of the tests' data files: "\r", "\n", "\t", "\0", "\\", "\{" and "\xNN" stand for one
// byte each, and "{N:TEXT}" for TEXT written N times.
std::string Unescape(std::string_view text);

// The tab-separated rows of a data file, without blank lines and "#" comments; throws when the
// file cannot be read.
std::vector<std::vector<std::string>> ReadRows(const std::string& path);

// Writes bytes to path (UTF-8, "/" between folders), making its folders; returns it absolute.
std::string WriteFile(const std::string& path, const std::string& bytes);

// Looks up BOOT's keys in each file of the lookup corpus (corpus/lookup_values.txt) through
// profile, and prints each value that is not the record's (Wine's where `wine` and the record
// has one). Returns how many differ.
int CorpusDifferences(Profile& profile, const std::string& corpus, bool wine);

}  // namespace tavrel

#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/tavrel-check/findings.h"

namespace tavrel {

enum class Language { kEnglish, kJapanese };

// The words of the report around the entries and warnings.
struct ReportWords {
  std::string_view description;
  std::string_view entries;
  std::string_view registered;
  std::string_view warnings;
  std::string_view no_warnings;
  std::string_view notes;
  std::string_view no_description;  // {1}: the folder
  std::string_view unreadable;      // {1}: the file
  std::string_view usage;
};

const ReportWords& WordsFor(Language language);

// The finding put into words; a message never starts with the code, which is printed beside it.
std::string DescribeFinding(const Finding& finding, Language language);

// {1}, {2}, ... replaced by args[0], args[1], ...
std::string FillIn(std::string_view pattern, const std::vector<std::string>& args);

}  // namespace tavrel

#pragma once

#include <string>
#include <vector>

#include "tools/tavrel-check/findings.h"
#include "tools/tavrel-check/install_plan.h"
#include "tools/tavrel-check/messages.h"

namespace tavrel {

struct Report {
  std::string description_path;
  std::vector<PlannedEntry> plan;
  std::vector<Finding> findings;
};

// For people: the plan, one entry to two lines, then the warnings and the notes. UTF-8.
std::string RenderText(const Report& report, Language language);

// One JSON object: {"description", "entries": [...], "warnings": [...], "notes": [...]}. UTF-8.
std::string RenderJson(const Report& report, Language language);

}  // namespace tavrel

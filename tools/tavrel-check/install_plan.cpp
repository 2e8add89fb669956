#include "tools/tavrel-check/install_plan.h"

#include <cstddef>

#include "description/setup_description.h"

namespace tavrel {

namespace {

// Large enough for any value a person writes; only used to tell how a value was cut.
constexpr std::size_t kUncutBufferBytes = 1 << 16;

}  // namespace

std::vector<PlannedEntry> PlanInstall(Profile& profile, const PlanPaths& paths) {
  std::vector<PlannedEntry> plan;
  for (int n = 1; n <= kLastEntry; ++n) {
    const std::string key = EntryKey(n);
    std::optional<std::string> value = ReadSetupValue(profile, paths.ini_path, kEntrySection, key);
    if (!value || value->empty()) break;
    InstallEntry entry = ReadInstallEntry(*value, paths.app_path, paths.win_dir, paths.sys_dir);
    plan.push_back(PlannedEntry{
        .n = n,
        .value = std::move(*value),
        .uncut_value =
            profile.GetString(kEntrySection, key, paths.ini_path, kUncutBufferBytes).value_or(""),
        .entry = std::move(entry),
    });
  }
  return plan;
}

}  // namespace tavrel

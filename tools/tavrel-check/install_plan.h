#pragma once

#include <string>
#include <vector>

#include "engine/install_entry.h"
#include "platform/profile.h"

namespace tavrel {

struct PlannedEntry {
  int n;
  std::string value;        // as the installer reads it, cut to what its buffer holds
  std::string uncut_value;  // as the description writes it
  InstallEntry entry;
};

struct PlanPaths {
  std::string ini_path;
  std::string app_path;
  std::string win_dir;
  std::string sys_dir;
};

// The entries the installer would read, in its order, up to the first empty value.
std::vector<PlannedEntry> PlanInstall(Profile& profile, const PlanPaths& paths);

}  // namespace tavrel

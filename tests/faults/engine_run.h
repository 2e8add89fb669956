#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/tests/fake_platform.h"
#include "tests/faults/scenario.h"

namespace tavrel::faults {

// What the engine did in one setup run over the fake platform.
struct ObservedRun {
  std::optional<ExitStatus> status;  // nothing: the run ended without ending the program
  std::vector<fake::ShownMessage> messages;
  std::map<std::string, ScenarioFile> files;  // temporary files left out
  std::vector<std::string> temporaries;
  std::vector<std::string> lookups;  // the keys asked for, in order
  bool fault_fired = false;
  std::optional<int> open_files_at_end;
};

// The description is read through `description` when one is given, else from the scenario's
// entries.
ObservedRun RunEngine(const Scenario& scenario, Profile* description = nullptr);

}  // namespace tavrel::faults

#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/tests/fake_file_system.h"
#include "platform/user_interface.h"
#include "tests/faults/scenario.h"

namespace tavrel::faults {

struct ExpectedMessage {
  std::string text;
  MessageIcon icon;
  std::optional<std::string> title;
  bool operator==(const ExpectedMessage&) const = default;
};

// What a setup run must do, worked out from the installer's rules alone.
struct ExpectedRun {
  ExitStatus status = ExitStatus::kCompleted;
  std::vector<ExpectedMessage> messages;
  std::map<std::string, ScenarioFile> files;  // the disk afterwards, temporary files left out
  int values_read = 0;                        // description lookups made
  bool fault_fires = false;
  // A temporary file stays only where deleting it failed.
  int temporaries_left = 0;
  // How often each file-system step and the event pump ran: where a fault or stop can land.
  std::map<fake::Step, int> step_calls;
  int pumps = 0;
};

ExpectedRun PredictRun(const Scenario& scenario);

}  // namespace tavrel::faults

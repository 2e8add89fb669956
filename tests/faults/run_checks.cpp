#include "tests/faults/run_checks.h"

#include <algorithm>
#include <cstddef>

namespace tavrel::faults {

namespace {

std::string StatusName(ExitStatus status) {
  switch (status) {
    case ExitStatus::kCompleted:
      return "completed";
    case ExitStatus::kFailed:
      return "failed";
    case ExitStatus::kStopped:
      return "stopped";
  }
  return "invalid status " + std::to_string(static_cast<int>(status));
}

std::string Show(const std::optional<std::string>& text) {
  return text ? "\"" + *text + "\"" : "(default)";
}

std::string Show(const ScenarioFile& file) {
  return std::to_string(file.bytes.size()) + " bytes \"" + file.bytes.substr(0, 24) + "\" stamp " +
         (file.stamp ? std::to_string(*file.stamp) : "unreadable") +
         (file.read_only ? " read-only" : "") + (file.hidden ? " hidden" : "");
}

// Rules that hold whatever the description says: the program ends with a valid status, nothing
// is open, nothing half-written stands anywhere, and every file holds bytes that some file held
// before the run.
void CheckInvariants(const Scenario& scenario, const ExpectedRun& expected,
                     const ObservedRun& observed, std::vector<std::string>& problems) {
  if (!observed.status) {
    problems.push_back("the run did not end the program");
  } else if (*observed.status != ExitStatus::kCompleted &&
             *observed.status != ExitStatus::kFailed && *observed.status != ExitStatus::kStopped) {
    problems.push_back(StatusName(*observed.status));
  }
  if (observed.open_files_at_end != 0) problems.push_back("files open at the end");
  const std::size_t temporaries_allowed = static_cast<std::size_t>(expected.temporaries_left);
  if (observed.temporaries.size() != temporaries_allowed) {
    problems.push_back(std::to_string(observed.temporaries.size()) + " temporary files left");
  }
  for (const fake::ShownMessage& message : observed.messages) {
    if (message.open_files != 0) problems.push_back("files open during: " + message.text);
    if (message.temporary_files > temporaries_allowed) {
      problems.push_back("temporary file standing during: " + message.text);
    }
  }
  for (const auto& [path, file] : observed.files) {
    const std::string& bytes = file.bytes;
    const auto held_before = [&](const auto& before) { return before.second.bytes == bytes; };
    if (std::ranges::none_of(scenario.files, held_before)) {
      problems.push_back(path + " holds bytes that no file held: " + Show(file));
    }
  }
  for (std::size_t i = 0; i < observed.lookups.size(); ++i) {
    if (observed.lookups[i] != "Copy" + std::to_string(i + 1)) {
      problems.push_back("lookup " + std::to_string(i + 1) + " asked for " + observed.lookups[i]);
    }
  }
}

void CheckMessages(const ExpectedRun& expected, const ObservedRun& observed,
                   std::vector<std::string>& problems) {
  const std::size_t count = std::max(expected.messages.size(), observed.messages.size());
  for (std::size_t i = 0; i < count; ++i) {
    const std::string index = "message " + std::to_string(i + 1) + ": ";
    if (i >= observed.messages.size()) {
      problems.push_back(index + "missing: " + expected.messages[i].text);
    } else if (i >= expected.messages.size()) {
      problems.push_back(index + "unexpected: " + observed.messages[i].text);
    } else {
      const fake::ShownMessage& shown = observed.messages[i];
      const ExpectedMessage& wanted = expected.messages[i];
      if (shown.text != wanted.text || shown.icon != wanted.icon || shown.title != wanted.title) {
        problems.push_back(
            index + "\"" + shown.text + "\" icon " + std::to_string(static_cast<int>(shown.icon)) +
            " title " + Show(shown.title) + ", expected \"" + wanted.text + "\" icon " +
            std::to_string(static_cast<int>(wanted.icon)) + " title " + Show(wanted.title));
      }
    }
  }
}

void CheckFiles(const ExpectedRun& expected, const ObservedRun& observed,
                std::vector<std::string>& problems) {
  for (const auto& [path, file] : expected.files) {
    const auto found = observed.files.find(path);
    if (found == observed.files.end()) {
      problems.push_back(path + " is missing, expected " + Show(file));
    } else if (found->second != file) {
      problems.push_back(path + " holds " + Show(found->second) + ", expected " + Show(file));
    }
  }
  for (const auto& [path, file] : observed.files) {
    if (!expected.files.contains(path)) problems.push_back(path + " appeared: " + Show(file));
  }
}

}  // namespace

std::vector<std::string> FindProblems(const Scenario& scenario, const ExpectedRun& expected,
                                      const ObservedRun& observed) {
  std::vector<std::string> problems;
  CheckInvariants(scenario, expected, observed, problems);
  if (observed.status && *observed.status != expected.status) {
    problems.push_back("ended " + StatusName(*observed.status) + ", expected " +
                       StatusName(expected.status));
  }
  CheckMessages(expected, observed, problems);
  CheckFiles(expected, observed, problems);
  if (observed.lookups.size() != static_cast<std::size_t>(expected.values_read)) {
    problems.push_back(std::to_string(observed.lookups.size()) + " lookups, expected " +
                       std::to_string(expected.values_read));
  }
  if (observed.fault_fired != expected.fault_fires) {
    problems.push_back(observed.fault_fired ? "the fault fired where none was expected"
                                            : "the fault did not fire");
  }
  return problems;
}

std::string Report(const Scenario& scenario, const std::vector<std::string>& problems) {
  if (problems.empty()) return {};
  std::string report = Describe(scenario) + "problems:\n";
  for (const std::string& problem : problems) report += "  " + problem + "\n";
  return report;
}

std::string ReportOfRun(const Scenario& scenario) {
  return Report(scenario, FindProblems(scenario, PredictRun(scenario), RunEngine(scenario)));
}

}  // namespace tavrel::faults

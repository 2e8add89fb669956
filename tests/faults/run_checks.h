#pragma once

#include <string>
#include <vector>

#include "tests/faults/engine_run.h"
#include "tests/faults/run_model.h"
#include "tests/faults/scenario.h"

namespace tavrel::faults {

// Every way in which the observed run breaks a rule that holds for any run, or differs from the
// expected one; empty when it is right.
std::vector<std::string> FindProblems(const Scenario& scenario, const ExpectedRun& expected,
                                      const ObservedRun& observed);

// The scenario and its problems, ready to print; the empty text when there are none.
std::string Report(const Scenario& scenario, const std::vector<std::string>& problems);

// Runs the engine and the model over the scenario: the problems found and the scenario, ready to
// print, or the empty text when the run is right.
std::string ReportOfRun(const Scenario& scenario);

}  // namespace tavrel::faults

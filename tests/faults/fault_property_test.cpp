#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "tests/faults/engine_run.h"
#include "tests/faults/random_scenario.h"
#include "tests/faults/run_checks.h"
#include "tests/faults/run_model.h"

namespace tavrel::faults {
namespace {

using fake::Step;

constexpr int kRuns = 1800;

// Every third run fails one file-system step, each kind in turn, at a random call among those the
// undisturbed run makes; every third asks for a stop at a random pump; the rest run undisturbed.
Scenario DisturbedScenario(int run, std::mt19937& random) {
  auto pick = [&](int count) {
    return std::uniform_int_distribution<int>(1, std::max(count, 1))(random);
  };
  for (;;) {
    Scenario scenario = RandomScenario(random);
    const ExpectedRun undisturbed = PredictRun(scenario);
    if (run % 3 == 1) scenario.stop_at_pump = pick(undisturbed.pumps);
    if (run % 3 != 0) return scenario;
    const std::size_t kind = static_cast<std::size_t>(run / 3) % std::size(fake::kAllSteps);
    const Step step = fake::kAllSteps[kind];
    const auto calls = undisturbed.step_calls.find(step);
    // A run that never takes the step teaches nothing about its failure; a failing delete only
    // ever follows another failure, so some runs go without one.
    if (calls != undisturbed.step_calls.end()) {
      scenario.fault = InjectedFault{step, pick(calls->second)};
      return scenario;
    }
    if (step == Step::kDelete && random() % 8 == 0) return scenario;
  }
}

TEST(FaultProperty, EveryRunEndsAsTheModelSaysAndLeavesEachFileOldOrNew) {
  std::map<Step, int> fired;
  std::map<ExitStatus, int> endings;
  int failed_runs = 0;
  for (int run = 0; run < kRuns && failed_runs < 5; ++run) {
    std::mt19937 random(static_cast<std::mt19937::result_type>(run));
    const Scenario scenario = DisturbedScenario(run, random);
    const ExpectedRun expected = PredictRun(scenario);
    const ObservedRun observed = RunEngine(scenario);
    const std::vector<std::string> problems = FindProblems(scenario, expected, observed);
    if (!problems.empty()) {
      ++failed_runs;
      ADD_FAILURE() << "run " << run << ":\n" << Report(scenario, problems);
    }
    if (observed.fault_fired) ++fired[scenario.fault->step];
    if (observed.status) ++endings[*observed.status];
  }
  // The runs reach every ending, and faults land on every step that can fail on its own.
  for (const Step step : fake::kAllSteps) {
    if (step != Step::kDelete) {
      EXPECT_GT(fired[step], kRuns / 3 / static_cast<int>(std::size(fake::kAllSteps)) / 2)
          << fake::StepName(step);
    }
  }
  for (const ExitStatus status :
       {ExitStatus::kCompleted, ExitStatus::kFailed, ExitStatus::kStopped}) {
    EXPECT_GT(endings[status], kRuns / 10) << static_cast<int>(status);
  }
}

}  // namespace
}  // namespace tavrel::faults

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "tests/faults/bytes_scenario.h"
#include "tests/faults/run_checks.h"

namespace tavrel::faults {
namespace {

// The fuzz target's seed corpus, and whatever it has found and was kept, run in every build.
TEST(FuzzCorpus, EveryKeptInputRunsAsTheModelSays) {
  int inputs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(TAVREL_FUZZ_CORPUS)) {
    std::ifstream file(entry.path(), std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file),
                                          std::istreambuf_iterator<char>()};
    EXPECT_EQ(ReportOfRun(ScenarioFromBytes(bytes)), "") << entry.path();
    ++inputs;
  }
  EXPECT_GT(inputs, 0);
}

}  // namespace
}  // namespace tavrel::faults

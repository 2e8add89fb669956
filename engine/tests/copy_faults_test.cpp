#include <gtest/gtest.h>

#include <cstddef>
#include <optional>
#include <string>

#include "engine/tests/copy_bench.h"

namespace tavrel {
namespace {

using fake::FakeBytes;
using fake::PatternedBytes;
using fake::Step;

struct Scenario {
  const char* name;
  std::size_t source_size;
  std::optional<std::string> old_destination;
};

class CopyFaultTest : public testing::TestWithParam<Scenario> {};

// Fails each file-system step in turn, at its 1st, 2nd, 3rd ... call, until the copy no longer
// reaches that call. Whatever fails, the destination is either as it was or the source whole, the
// person hears of every failure, and nothing stays open or half-written.
TEST_P(CopyFaultTest, EveryFailingStepLeavesTheDestinationOldOrNew) {
  const Scenario& s = GetParam();
  const std::string source = PatternedBytes(s.source_size);
  for (const Step step : fake::kAllSteps) {
    for (int occurrence = 1;; ++occurrence) {
      SCOPED_TRACE(std::string(fake::StepName(step)) + " #" + std::to_string(occurrence));
      CopyBench bench;
      bench.AddSource(FakeBytes(source));
      if (s.old_destination) bench.AddDestination(*s.old_destination);
      bench.fake.files.FailAt(step, occurrence);

      const CopyResult result = bench.Copy();
      EXPECT_EQ(bench.fake.files.OpenFiles(), 0);
      EXPECT_TRUE(bench.fake.files.TemporaryFiles().empty());
      if (result == 1) {
        EXPECT_EQ(bench.Destination(), source);
        EXPECT_TRUE(bench.fake.ui.messages.empty());
      } else {
        EXPECT_EQ(result, 0);
        EXPECT_EQ(bench.Destination(), s.old_destination);
        ASSERT_EQ(bench.fake.ui.messages.size(), 1u);
        EXPECT_EQ(bench.fake.ui.messages[0].open_files, 0);
        EXPECT_EQ(bench.fake.ui.messages[0].temporary_files, 0u);
      }
      if (!bench.fake.files.FaultFired()) break;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Copies, CopyFaultTest,
                         testing::Values(Scenario{"ThreeChunksOverAnOlderFile", 40000, "old"},
                                         Scenario{"ThreeChunksToANewFile", 40000, std::nullopt},
                                         Scenario{"EmptyOverAnOlderFile", 0, "old"}),
                         NameOfCase());

}  // namespace
}  // namespace tavrel

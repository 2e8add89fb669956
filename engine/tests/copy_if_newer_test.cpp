#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/tests/copy_bench.h"

namespace tavrel {
namespace {

using fake::FakeBytes;
using fake::PatternedBytes;
using fake::Step;

// ---- The freshness decision ----

struct FreshnessCase {
  const char* name;
  bool destination_exists;
  std::int32_t compare_result;
  std::int32_t comparison;
  FileTime source_stamp;
  std::optional<FileTime> destination_stamp;
  CopyResult expected;
};

class FreshnessTest : public testing::TestWithParam<FreshnessCase> {};

TEST_P(FreshnessTest, CopiesOnlyWhenTheSourceIsNewer) {
  const FreshnessCase& c = GetParam();
  CopyBench bench;
  bench.AddSource(FakeBytes("new"), c.source_stamp);
  if (c.destination_exists) {
    bench.AddDestination("old");
    bench.fake.files.Find(CopyBench::kDestination)->stamp = c.destination_stamp;
  }
  bench.fake.support.compare_result = c.compare_result;
  bench.fake.support.comparison = c.comparison;

  EXPECT_EQ(bench.Copy(), c.expected);
  EXPECT_EQ(bench.Destination(), c.expected == 1 ? "new" : "old");
  EXPECT_EQ(bench.fake.Calls("CompareVersion").size(), c.destination_exists ? 1u : 0u);
  if (c.expected == 2) {
    EXPECT_TRUE(bench.fake.Calls("OpenForReading").empty());
  }
  EXPECT_TRUE(bench.fake.ui.messages.empty());
}

constexpr FileTime kEarlier = 100;
constexpr FileTime kLater = 200;

INSTANTIATE_TEST_SUITE_P(
    Decisions, FreshnessTest,
    testing::Values(FreshnessCase{"NoDestination", false, 1, 0, kEarlier, kLater, 1},
                    // A version comparison overrides the dates both ways.
                    FreshnessCase{"HigherVersionOlderDate", true, 1, 1, kEarlier, kLater, 1},
                    FreshnessCase{"EqualVersionNewerDate", true, 1, 0, kLater, kEarlier, 2},
                    FreshnessCase{"LowerVersionNewerDate", true, 1, -1, kLater, kEarlier, 2},
                    // Any other result leaves it to the dates, whatever the comparison holds.
                    FreshnessCase{"NoVersionsOlderDate", true, 0, 1, kEarlier, kLater, 2},
                    FreshnessCase{"NoVersionsEqualDate", true, 0, 1, kLater, kLater, 2},
                    FreshnessCase{"NoVersionsNewerDate", true, 0, -1, kLater, kEarlier, 1},
                    FreshnessCase{"ResultTwoOlderDate", true, 2, 1, kEarlier, kLater, 2},
                    FreshnessCase{"ResultTwoEqualDate", true, 2, 1, kLater, kLater, 2},
                    FreshnessCase{"ResultTwoNewerDate", true, 2, -1, kLater, kEarlier, 1},
                    FreshnessCase{"ResultMinusOneNewerDate", true, -1, 0, kLater, kEarlier, 1},
                    FreshnessCase{"UnreadableDestinationDate", true, 0, 0, kEarlier, std::nullopt,
                                  1}),
    NameOfCase());

// ---- Chunks ----

class ChunkTest : public testing::TestWithParam<std::size_t> {};

TEST_P(ChunkTest, CopiesInChunksOfAtMost16384BytesWithAPumpAfterEach) {
  const std::size_t size = GetParam();
  CopyBench bench;
  bench.AddSource(FakeBytes(PatternedBytes(size)), 300);
  bench.AddDestination(std::string(70000, 'o'));
  bench.fake.support.compare_result = 0;

  EXPECT_EQ(bench.Copy(), 1);
  EXPECT_EQ(bench.Destination(), PatternedBytes(size));
  EXPECT_EQ(bench.fake.files.Find(CopyBench::kDestination)->stamp, 300);

  std::vector<std::size_t> chunks;
  for (std::size_t done = 0; done < size; done += 16384)
    chunks.push_back(std::min<std::size_t>(size - done, 16384));
  const std::vector<std::string> writes = bench.fake.Calls("Write");
  ASSERT_EQ(writes.size(), chunks.size());
  for (std::size_t i = 0; i < chunks.size(); ++i) {
    EXPECT_TRUE(writes[i].ends_with(" " + std::to_string(chunks[i]))) << writes[i];
  }
  EXPECT_EQ(bench.fake.ui.pumps, static_cast<int>(1 + chunks.size()));
  EXPECT_EQ(bench.fake.Calls("CopyFileDateTime"),
            std::vector<std::string>{R"(CopyFileDateTime C:\WINDOWS\a.dll C:\Setup\a.dll)"});
  EXPECT_TRUE(bench.fake.files.TemporaryFiles().empty());
}

INSTANTIATE_TEST_SUITE_P(Sizes, ChunkTest, testing::Values(0, 1, 16383, 16384, 16385, 40000));

TEST(CopyIfNewer, PumpsBeforeLookingAtTheFiles) {
  CopyBench bench;
  bench.AddSource(FakeBytes("new"));
  bench.AddDestination("old");
  ASSERT_EQ(bench.Copy(), 1);
  EXPECT_EQ(bench.fake.log.front(), "PumpEvents");
}

TEST(CopyIfNewer, CopiesASourceOfMoreThan2GiBWhole) {
  constexpr std::uint64_t kSize = (std::uint64_t{1} << 31) + 1;
  CopyBench bench;
  bench.AddSource(FakeBytes::Repeated('x', kSize));
  EXPECT_EQ(bench.Copy(), 1);
  EXPECT_EQ(bench.fake.files.Find(CopyBench::kDestination)->bytes, FakeBytes::Repeated('x', kSize));
  EXPECT_EQ(bench.fake.ui.pumps, 1 + 131073);
}

TEST(CopyIfNewer, ReadsAHugeSourceOneChunkAtATime) {
  CopyBench bench;
  bench.AddSource(FakeBytes::Repeated('x', std::uint64_t{1} << 46));
  bench.fake.ui.on_pump = [&](int pump) {
    if (pump == 3) bench.engine.RequestStop();
  };
  EXPECT_EQ(bench.Copy(), -1);
  EXPECT_EQ(bench.fake.Calls("Read"), (std::vector<std::string>{R"(Read C:\Setup\a.dll 16384)",
                                                                R"(Read C:\Setup\a.dll 16384)"}));
}

// ---- Stops ----

TEST(CopyIfNewer, AStopAskedForBeforeTheCallTouchesNothing) {
  CopyBench bench;
  bench.AddSource(FakeBytes("new"));
  bench.AddDestination("old");
  bench.engine.RequestStop();
  EXPECT_EQ(bench.Copy(), -1);
  EXPECT_EQ(bench.fake.log, std::vector<std::string>{"PumpEvents"});
}

TEST(CopyIfNewer, AStopBetweenChunksKeepsTheOldDestination) {
  for (int stop_at_pump : {2, 3, 4}) {  // after chunk 1, 2, and the last
    CopyBench bench;
    bench.AddSource(FakeBytes(PatternedBytes(40000)));
    bench.AddDestination("old");
    bench.fake.ui.on_pump = [&](int pump) {
      if (pump == stop_at_pump) bench.engine.RequestStop();
    };
    EXPECT_EQ(bench.Copy(), -1) << "stop at pump " << stop_at_pump;
    EXPECT_EQ(bench.fake.Calls("Read").size(), static_cast<std::size_t>(stop_at_pump - 1));
    EXPECT_EQ(bench.Destination(), "old");
    EXPECT_TRUE(bench.fake.files.TemporaryFiles().empty());
    EXPECT_EQ(bench.fake.files.OpenFiles(), 0);
    EXPECT_TRUE(bench.fake.ui.messages.empty());
    EXPECT_TRUE(bench.fake.Calls("CopyFileDateTime").empty());
  }
}

// ---- Failures ----

constexpr char kCannotOpen[] = "ﾌｧｲﾙが開けません\rC:\\Setup\\a.dll";
constexpr char kCannotCreate[] = "ﾌｧｲﾙが作成できません\rC:\\WINDOWS\\a.dll";
constexpr char kCannotRead[] = "ﾌｧｲﾙが読めません\rC:\\Setup\\a.dll";
constexpr char kCannotWrite[] = "ﾌｧｲﾙに書き込めません\rC:\\WINDOWS\\a.dll";

struct FailureCase {
  const char* name;
  std::size_t source_size;  // SIZE_MAX: no source
  bool destination_exists;
  std::function<void(fake::FakePlatform&)> fault;
  std::string message;
  MessageIcon icon = MessageIcon::kNone;
};

constexpr std::size_t kNoSource = SIZE_MAX;

class FailureTest : public testing::TestWithParam<FailureCase> {};

TEST_P(FailureTest, TellsOnceAndLeavesTheOldDestinationWithNothingOpen) {
  const FailureCase& c = GetParam();
  CopyBench bench;
  if (c.source_size != kNoSource) bench.AddSource(FakeBytes(PatternedBytes(c.source_size)));
  if (c.destination_exists) bench.AddDestination("old");
  if (c.fault) c.fault(bench.fake);

  EXPECT_EQ(bench.Copy(), 0);
  ASSERT_EQ(bench.fake.ui.messages.size(), 1u);
  const fake::ShownMessage& shown = bench.fake.ui.messages[0];
  EXPECT_EQ(shown.text, c.message);
  EXPECT_EQ(shown.icon, c.icon);
  EXPECT_EQ(shown.title, std::nullopt);
  EXPECT_EQ(shown.open_files, 0) << "a file was open while the message was up";
  EXPECT_EQ(shown.temporary_files, 0u) << "a temporary file stood while the message was up";
  EXPECT_EQ(bench.Destination(),
            c.destination_exists ? std::optional<std::string>("old") : std::nullopt);
  EXPECT_TRUE(bench.fake.files.TemporaryFiles().empty());
  EXPECT_EQ(bench.fake.files.OpenFiles(), 0);
  EXPECT_TRUE(bench.fake.Calls("CopyFileDateTime").empty());
}

void Fail(fake::FakePlatform& fake, Step step, int occurrence) {
  fake.files.FailAt(step, occurrence);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FailureTest,
    testing::Values(
        FailureCase{"MissingSource", kNoSource, false, nullptr, kCannotOpen},
        // Versions are asked first; without them the missing source's date cannot be read.
        FailureCase{"MissingSourceBesideADestination", kNoSource, true, nullptr, kCannotOpen},
        FailureCase{"UnreadableSourceDate", 10, true,
                    [](auto& f) { f.files.Find(CopyBench::kSource)->stamp = std::nullopt; },
                    kCannotOpen},
        FailureCase{"LengthFails", 10, true, [](auto& f) { Fail(f, Step::kLength, 1); },
                    kCannotOpen},
        FailureCase{"OpenFails", 10, true, [](auto& f) { Fail(f, Step::kOpenForReading, 1); },
                    kCannotOpen},
        FailureCase{"MissingDestinationFolder", 10, false,
                    [](auto& f) { f.files.RemoveFolder(R"(C:\WINDOWS)"); }, kCannotCreate},
        FailureCase{"TemporaryCannotBeMade", 10, true,
                    [](auto& f) { Fail(f, Step::kCreateTemporaryBeside, 1); }, kCannotCreate},
        FailureCase{"ReadOnlyDestination", 10, true,
                    [](auto& f) { f.files.Find(CopyBench::kDestination)->read_only = true; },
                    kCannotCreate},
        FailureCase{"ReplaceFails", 10, true, [](auto& f) { Fail(f, Step::kReplace, 1); },
                    kCannotCreate},
        FailureCase{"FirstReadFails", 40000, true, [](auto& f) { Fail(f, Step::kRead, 1); },
                    kCannotRead},
        FailureCase{"SecondReadFails", 40000, true, [](auto& f) { Fail(f, Step::kRead, 2); },
                    kCannotRead},
        FailureCase{"SecondWriteFails", 40000, true, [](auto& f) { Fail(f, Step::kWrite, 2); },
                    kCannotWrite},
        FailureCase{"LastWriteFails", 40000, true, [](auto& f) { Fail(f, Step::kWrite, 3); },
                    kCannotWrite},
        FailureCase{"SourceCloseFails", 40000, true,
                    [](auto& f) { Fail(f, Step::kCloseReading, 1); }, kCannotWrite},
        FailureCase{"TemporaryCloseFails", 40000, true,
                    [](auto& f) { Fail(f, Step::kCloseWriting, 1); }, kCannotWrite},
        FailureCase{"TemporaryCloseFailsForAnEmptySource", 0, true,
                    [](auto& f) { Fail(f, Step::kCloseWriting, 1); }, kCannotCreate},
        FailureCase{"CopyFileDateTimeUnreachable", 40000, true,
                    [](auto& f) {
                      f.support.unreachable.insert(SupportLibrary::Function::kCopyFileDateTime);
                    },
                    kCannotWrite},
        FailureCase{"CopyFileDateTimeUnreachableForAnEmptySource", 0, true,
                    [](auto& f) {
                      f.support.unreachable.insert(SupportLibrary::Function::kCopyFileDateTime);
                    },
                    kCannotCreate},
        FailureCase{"CompareVersionUnreachable", 10, true,
                    [](auto& f) {
                      f.support.unreachable.insert(SupportLibrary::Function::kCompareVersion);
                    },
                    "VOLSTRAK.dllが呼び出せません\rCompareVersion", MessageIcon::kWarning}),
    NameOfCase());

}  // namespace
}  // namespace tavrel

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "engine/messages.h"
#include "engine/tests/fake_platform.h"

namespace tavrel {
namespace {

using fake::FakePlatform;
using fake::GeneratedFile;
using fake::Step;
using Function = SupportLibrary::Function;

constexpr char kSource[] = R"(C:\Setup\a.dll)";
constexpr char kDestination[] = R"(C:\WINDOWS\a.dll)";

// One call of CopyIfNewer from "new" (date 200) over "old" (date 100), after `setup`.
struct CopyRow {
  const char* name;
  std::function<void(FakePlatform&)> setup;
  CopyResult result;
  std::string message = {};  // none when empty
};

const std::string kSourceUnopened = TwoLines(kCannotOpen, kSource);
const std::string kNotCreated = TwoLines(kCannotCreate, kDestination);
const std::string kNotWritten = TwoLines(kCannotWrite, kDestination);

fake::FakeFile& Source(FakePlatform& f) { return f.files.files[kSource]; }
fake::FakeFile& Old(FakePlatform& f) { return f.files.files[kDestination]; }
void NoSource(FakePlatform& f) { f.files.files.erase(kSource); }
void NoOld(FakePlatform& f) { f.files.files.erase(kDestination); }
void Versions(FakePlatform& f, int source, int old) {
  f.support.versions = {{kSource, source}, {kDestination, old}};
}
void StopAtPump(FakePlatform& f, int stop) {
  f.ui.on_pump = [&f, stop](int pump) {
    if (pump == stop) f.engine.RequestStop();
  };
}

const CopyRow kRows[] = {
    // Whether the destination is at least as new: by version where they compare, else by date.
    {"NoDestination", [](auto& f) { NoOld(f), Versions(f, 1, 2); }, kCopied, ""},
    {"HigherVersionOlderDate", [](auto& f) { Versions(f, 2, 1), Source(f).date = 50; }, kCopied},
    {"EqualVersionNewerDate", [](auto& f) { Versions(f, 1, 1); }, kUpToDate},
    {"LowerVersionNewerDate", [](auto& f) { Versions(f, 1, 2); }, kUpToDate},
    {"OlderDate", [](auto& f) { Source(f).date = 50; }, kUpToDate},
    {"EqualDate", [](auto& f) { Source(f).date = 100; }, kUpToDate},
    {"NewerDate", [](auto&) {}, kCopied},
    {"UnreadableDestinationDate", [](auto& f) { Old(f).date.reset(); }, kCopied},
    {"HiddenDestinationNewer", [](auto& f) { Old(f).hidden = true, Old(f).date = 300; }, kUpToDate},
    {"SystemDestinationOlder", [](auto& f) { Old(f).system = true; }, kCopied},
    {"MissingSourceBesideANewerVersion", [](auto& f) { NoSource(f), Versions(f, 1, 2); },
     kUpToDate},
    {"MissingSourceBesideADestination", NoSource, kCopyFailed, kSourceUnopened},
    // Chunks of at most 16384 bytes, and the length of the open source whole.
    {"EmptySource", [](auto& f) { Source(f).bytes.clear(); }, kCopied},
    {"OneChunk", [](auto& f) { Source(f) = GeneratedFile(16384, 200); }, kCopied},
    {"TwoChunks", [](auto& f) { Source(f) = GeneratedFile(16385, 200); }, kCopied},
    {"Over4GiB", [](auto& f) { Source(f) = GeneratedFile((1ull << 32) + 1, 200); }, kCopied},
    // Each failure is told with its path; the old destination stays.
    {"MissingSource", [](auto& f) { NoSource(f), NoOld(f); }, kCopyFailed, kSourceUnopened},
    {"SourceCannotBeOpened", [](auto& f) { f.files.FailAt(Step::kOpenForReading, 1); }, kCopyFailed,
     kSourceUnopened},
    {"SourceLengthUnreadable", [](auto& f) { f.files.FailAt(Step::kLength, 1); }, kCopyFailed,
     kSourceUnopened},
    {"SourceDateUnreadable", [](auto& f) { Source(f).date.reset(); }, kCopyFailed, kSourceUnopened},
    {"SourceNotInTheCodePage", [](auto& f) { NoOld(f), f.support.unpassable = {kSource}; },
     kCopyFailed, kSourceUnopened},
    {"DestinationNotInTheCodePage", [](auto& f) { f.support.unpassable = {kDestination}; },
     kCopyFailed, kNotCreated},
    {"NoDestinationFolder", [](auto& f) { NoOld(f), f.files.folders.clear(); }, kCopyFailed,
     kNotCreated},
    {"TemporaryCannotBeMade", [](auto& f) { f.files.FailAt(Step::kCreateTemporary, 1); },
     kCopyFailed, kNotCreated},
    {"ReadOnlyDestination", [](auto& f) { Old(f).read_only = true; }, kCopyFailed, kNotCreated},
    {"FolderAtTheDestination", [](auto& f) { NoOld(f), f.files.folders.insert(kDestination); },
     kCopyFailed, kNotCreated},
    {"SecondReadFails",
     [](auto& f) { Source(f) = GeneratedFile(40000, 200), f.files.FailAt(Step::kRead, 2); },
     kCopyFailed, TwoLines(kCannotRead, kSource)},
    {"SecondWriteFails",
     [](auto& f) { Source(f) = GeneratedFile(40000, 200), f.files.FailAt(Step::kWrite, 2); },
     kCopyFailed, kNotWritten},
    {"SourceCloseFails", [](auto& f) { f.files.FailAt(Step::kClose, 1); }, kCopyFailed,
     kNotWritten},
    {"TemporaryNotFlushed", [](auto& f) { f.files.FailAt(Step::kInstall, 1); }, kCopyFailed,
     kNotWritten},
    {"EmptyTemporaryNotFlushed",
     [](auto& f) { Source(f).bytes.clear(), f.files.FailAt(Step::kInstall, 1); }, kCopyFailed,
     kNotCreated},
    {"CopyFileDateTimeUnreachable",
     [](auto& f) { f.support.unreachable = {Function::kCopyFileDateTime}; }, kCopyFailed,
     kNotWritten},
    {"CopyFileDateTimeUnreachableForAnEmptySource",
     [](auto& f) {
       Source(f).bytes.clear(), f.support.unreachable = {Function::kCopyFileDateTime};
     },
     kCopyFailed, kNotCreated},
    {"CompareVersionUnreachable",
     [](auto& f) { f.support.unreachable = {Function::kCompareVersion}; }, kCopyFailed,
     TwoLines(kLibraryUnreachable, "CompareVersion")},
    // A stop leaves the old destination, silently.
    {"StopBeforeTheCall", [](auto& f) { f.engine.RequestStop(); }, kCopyStopped},
    {"StopAfterTheFirstChunk",
     [](auto& f) { Source(f) = GeneratedFile(40000, 200), StopAtPump(f, 2); }, kCopyStopped},
    {"StopAfterTheLastChunk",
     [](auto& f) { Source(f) = GeneratedFile(16385, 200), StopAtPump(f, 3); }, kCopyStopped},
};

TEST(CopyIfNewer, LeavesTheDestinationOldOrTheSourceWholeAndTellsEveryFailure) {
  for (const CopyRow& row : kRows) {
    SCOPED_TRACE(row.name);
    FakePlatform f;
    f.files.Add(kSource, {.bytes = "new", .date = 200});
    f.files.Add(kDestination, {.bytes = "old", .date = 100});
    row.setup(f);
    const auto before = f.files.files;

    EXPECT_EQ(f.engine.CopyIfNewer(kSource, kDestination), row.result);
    const auto source = before.find(kSource);
    const auto old = before.find(kDestination);
    if (row.result == kCopied) {
      EXPECT_EQ(f.At(kDestination), fake::Contents(source->second));
      EXPECT_EQ(f.files.files[kDestination].date, source->second.date);
    } else if (old == before.end()) {
      EXPECT_EQ(f.At(kDestination), std::nullopt);
    } else {
      EXPECT_EQ(f.At(kDestination), "old");
      EXPECT_EQ(f.files.files[kDestination].date, old->second.date);
    }
    EXPECT_LE(f.files.largest_transfer, 16384u);
    EXPECT_EQ(f.files.open_files, 0);
    ASSERT_EQ(f.ui.messages.size(), row.message.empty() ? 0u : 1u);
    if (row.message.empty()) continue;
    const fake::Shown& shown = f.ui.messages[0];
    EXPECT_EQ(shown.text, row.message);
    EXPECT_EQ(shown.icon, row.message.starts_with(kLibraryUnreachable) ? MessageIcon::kWarning
                                                                       : MessageIcon::kNone);
    EXPECT_EQ(shown.title, std::nullopt);
    EXPECT_EQ(shown.open_files, 0);
  }
}

}  // namespace
}  // namespace tavrel

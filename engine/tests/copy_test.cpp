// The fake brings GoogleTest, the standard containers and the messages with it.
#include "engine/tests/fake_platform.h"

namespace tavrel {
namespace {

using fake::At;
using fake::FakePlatform;
using enum fake::Step;
using enum SupportLibrary::Function;
constexpr CopyResult kFailed = kCopyFailed;

constexpr char kSource[] = R"(C:\Setup\a.dll)";
constexpr char kDestination[] = R"(C:\WINDOWS\a.dll)";
const std::string kCantOpen = TwoLines(kCannotOpen, kSource);
const std::string kCantCreate = TwoLines(kCannotCreate, kDestination);
const std::string kCantWrite = TwoLines(kCannotWrite, kDestination);

fake::FakeFile& Source(FakePlatform& f) { return f.files[kSource]; }
fake::FakeFile& Old(FakePlatform& f) { return f.files[kDestination]; }
void NoOld(FakePlatform& f) { f.files.erase(kDestination); }
// The versions of the source (a) and of the destination (b).
void Versions(FakePlatform& f, int a, int b) { f.versions = {{kSource, a}, {kDestination, b}}; }
void FailAt(FakePlatform& f, fake::Step step, int call) { f.fail_step = step, f.fail_call = call; }
void Chunks(FakePlatform& f, std::size_t bytes) { Source(f) = fake::Periodic(bytes, 200); }

// One call of CopyIfNewer from "new" (date 200) over "old" (date 100), after `setup`.
struct CopyRow {
  const char* name;
  std::function<void(FakePlatform&)> setup;
  CopyResult result;
  std::string message = {};  // none when empty
};

const CopyRow kCopies[] = {
    // Freshness: by version where both have one, else by date
    {"NoDestination", [](auto& f) { NoOld(f), Versions(f, 1, 2); }, kCopied},
    {"HigherVersionOlderDate", [](auto& f) { Versions(f, 2, 1), Source(f).date = 50; }, kCopied},
    {"EqualVersionNewerDate", [](auto& f) { Versions(f, 1, 1); }, kUpToDate},
    // An equal date by name settles it without opening the source; by the open file, when the
    // source's stamp cannot be read by name (the third lookup).
    {"EqualDate", [](auto& f) { Source(f).date = 100, FailAt(f, kOpen, 1); }, kUpToDate},
    {"EqualDateOfTheOpenFile", [](auto& f) { Source(f).date = 100, FailAt(f, kLookup, 3); },
     kUpToDate},
    {"UnreadableDestinationDate", [](auto& f) { Old(f).date.reset(); }, kCopied},
    {"NewerHiddenDestination", [](auto& f) { Old(f).hidden = true, Old(f).date = 300; }, kUpToDate},
    {"NoSourceBesideANewerVersion", [](auto& f) { f.files.erase(kSource), Versions(f, 1, 2); },
     kUpToDate},
    // Chunks of at most 16384 bytes, the last one short
    {"EmptySource", [](auto& f) { Source(f).bytes.clear(); }, kCopied},
    {"TwoChunks", [](auto& f) { Chunks(f, 16385); }, kCopied},
    // Each failure told with its path
    {"NoSource", [](auto& f) { f.files.erase(kSource); }, kFailed, kCantOpen},
    {"SourceLengthFails", [](auto& f) { FailAt(f, kLength, 1); }, kFailed, kCantOpen},
    {"SourceDateUnreadable", [](auto& f) { Source(f).date.reset(); }, kFailed, kCantOpen},
    {"UnpassableSource", [](auto& f) { NoOld(f), f.unpassable = {kSource}; }, kFailed, kCantOpen},
    {"UnpassableDestination", [](auto& f) { NoOld(f), f.unpassable = {kDestination}; }, kFailed,
     kCantCreate},
    {"NoFolder", [](auto& f) { NoOld(f), f.folders.clear(); }, kFailed, kCantCreate},
    {"FolderReachedThroughAPlantedLink", [](auto& f) { f.planted_links = {R"(C:\WINDOWS)"}; },
     kFailed, kCantCreate},
    {"LockedDestination", [](auto& f) { Old(f).locked = true; }, kFailed, kCantCreate},
    {"ReadFails", [](auto& f) { Chunks(f, 40000), FailAt(f, kRead, 2); }, kFailed,
     TwoLines(kCannotRead, kSource)},
    {"WriteFails", [](auto& f) { Chunks(f, 40000), FailAt(f, kWrite, 2); }, kFailed, kCantWrite},
    {"SourceCloseFails", [](auto& f) { FailAt(f, kClose, 1); }, kFailed, kCantWrite},
    {"NotFlushed", [](auto& f) { FailAt(f, kInstall, 1); }, kFailed, kCantWrite},
    {"EmptyNotFlushed", [](auto& f) { Source(f).bytes.clear(), FailAt(f, kInstall, 1); }, kFailed,
     kCantCreate},
    {"NoCopyFileDateTime", [](auto& f) { f.unreachable = {kCopyFileDateTime}; }, kFailed,
     kCantWrite},
    {"NoCompareVersion", [](auto& f) { f.unreachable = {kCompareVersion}; }, kFailed,
     TwoLines(kLibraryUnreachable, "CompareVersion")},
    // A stop, told by nobody, before anything is touched, mid-copy or after the last chunk
    {"StopBeforeTheCopy", [](auto& f) { f.stop_at_pump = 1; }, kCopyStopped},
    {"StopMidCopy", [](auto& f) { Chunks(f, 40000), f.stop_at_pump = 2; }, kCopyStopped},
    {"StopAfterTheLastChunk", [](auto& f) { Chunks(f, 16385), f.stop_at_pump = 3; }, kCopyStopped},
};

// Afterwards the destination is either as it was or the source, bytes and date, and a failure is
// told once.
TEST(CopyIfNewer, CopiesOnlyOverAnOlderFileAndKeepsTheOldOneOnAnyFailureOrStop) {
  for (const CopyRow& row : kCopies) {
    SCOPED_TRACE(row.name);
    FakePlatform f;
    f.Add(kSource, {.bytes = "new", .date = 200});
    f.Add(kDestination, {.bytes = "old"});
    row.setup(f);
    const auto before = f.files;

    EXPECT_EQ(f.engine.CopyIfNewer(kSource, kDestination), row.result);
    EXPECT_EQ(At(f.files, kDestination),
              At(before, row.result == kCopied ? kSource : kDestination));
    EXPECT_EQ(f.open_files, 0);
    EXPECT_EQ(f.messages, std::vector<std::string>(row.message.empty() ? 0u : 1u, row.message));
  }
}

}  // namespace
}  // namespace tavrel

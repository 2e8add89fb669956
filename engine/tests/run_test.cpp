#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/messages.h"
#include "engine/tests/fake_platform.h"

namespace tavrel {
namespace {

using fake::FakePlatform;

constexpr char kIni[] = R"(C:\Setup\qxSetup.ini)";
constexpr char kSystemA[] = R"(C:\WINDOWS\system32\a.dll)";
constexpr char kSystemB[] = R"(C:\WINDOWS\system32\b.dll)";
constexpr char kSystemC[] = R"(C:\WINDOWS\system32\c.dll)";
const std::string kComplete(kSetupComplete);
const std::string kMissing(kIniFileMissing);
const std::string kUnreadable(kIniFileUnreadable);

std::string Key(std::size_t n) { return "Copy" + std::to_string(n); }

// A value of `size` bytes ending in ",REGIST", its destination name filling the rest.
std::string LongValue(std::size_t size) {
  return "a.dll," + std::string(size - 21, 'n') + ",$SYSTEM,REGIST";
}
std::string LongDestination(std::size_t size) {
  return std::string(R"(C:\WINDOWS\system32\)") + std::string(size - 21, 'n');
}

// A run over a.dll, b.dll and c.dll ("A", "B", "C") beside the description.
struct RunRow {
  const char* name;
  std::vector<std::optional<std::string>> entries;  // Copy1, Copy2, ...; nothing: unreadable
  std::function<void(FakePlatform&)> setup;
  ExitStatus status;
  std::vector<std::string> messages = {};
  std::map<std::string, std::string> installed = {};  // every file made or changed, its bytes
  std::vector<std::string> registered = {};
};

const RunRow kRows[] = {
    {"NoDescription",
     {"a.dll,,$SYSTEM"},
     [](auto& f) { f.files.files.erase(kIni); },
     ExitStatus::kFailed,
     {kMissing}},
    {"HiddenDescription",
     {"a.dll,,$SYSTEM"},
     [](auto& f) { f.files.files[kIni].hidden = true; },
     ExitStatus::kFailed,
     {kMissing}},
    {"NoProgramFolder",
     {"a.dll,,$SYSTEM"},
     [](auto& f) { f.directories.program.reset(); },
     ExitStatus::kFailed,
     {kMissing}},
    {"DescriptionHeldByAnotherProgram",
     {"a.dll,,$SYSTEM"},
     [](auto& f) { f.files.files[kIni].locked = true; },
     ExitStatus::kFailed,
     {kUnreadable}},
    {"DescriptionUnreadableInTheWalk",
     {"a.dll,,$SYSTEM", std::nullopt},
     {},
     ExitStatus::kFailed,
     {kUnreadable},
     {{kSystemA, "A"}}},
    {"EmptyDescription", {}, {}, ExitStatus::kCompleted, {kComplete}},
    {"GapEndsTheWalk",
     {"a.dll,,$SYSTEM", "b.dll,,$SYSTEM", "", "c.dll,,$SYSTEM"},
     [](auto& f) { f.profile.boot.erase("Copy3"); },
     ExitStatus::kCompleted,
     {kComplete},
     {{kSystemA, "A"}, {kSystemB, "B"}}},
    {"EmptyValueEndsTheWalk", {"", "a.dll,,$SYSTEM"}, {}, ExitStatus::kCompleted, {kComplete}},
    {"SourceNameIntoTheSystemDirectory",
     {"a.dll,,$SYSTEM,REGIST"},
     {},
     ExitStatus::kCompleted,
     {kComplete},
     {{kSystemA, "A"}},
     {kSystemA}},
    {"DestinationNameInASubFolder",
     {R"(a.dll,b.ocx,$WIN\sub,REGIST)"},
     [](auto& f) { f.files.folders.insert(R"(C:\WINDOWS\sub)"); },
     ExitStatus::kCompleted,
     {kComplete},
     {{R"(C:\WINDOWS\sub\b.ocx)", "A"}},
     {R"(C:\WINDOWS\sub\b.ocx)"}},
    {"OnlyTheExactWordRegisters",
     {"a.dll,,$SYSTEM, REGIST", "b.dll,,$SYSTEM,regist", "c.dll,,$SYSTEM,REGIST "},
     {},
     ExitStatus::kCompleted,
     {kComplete},
     {{kSystemA, "A"}, {kSystemB, "B"}, {kSystemC, "C"}}},
    {"UpToDateFileIsRegistered",
     {"a.dll,,$SYSTEM,REGIST"},
     [](auto& f) { f.files.Add(kSystemA, {.bytes = "kept", .date = 200}); },
     ExitStatus::kCompleted,
     {kComplete},
     {},
     {kSystemA}},
    {"FailedRegistrationIsPassedOver",
     {"a.dll,,$SYSTEM,REGIST", "b.dll,,$SYSTEM"},
     [](auto& f) { f.support.regist_results[kSystemA] = 0; },
     ExitStatus::kCompleted,
     {kSystemA + std::string(kRegistrationFailed), kComplete},
     {{kSystemA, "A"}, {kSystemB, "B"}},
     {kSystemA}},
    {"RegistDllUnreachable",
     {"a.dll,,$SYSTEM,REGIST", "b.dll,,$SYSTEM"},
     [](auto& f) { f.support.unreachable = {SupportLibrary::Function::kRegistDll}; },
     ExitStatus::kFailed,
     {TwoLines(kLibraryUnreachable, "RegistDll")},
     {{kSystemA, "A"}}},
    {"EmptyFolderGivesARootPath",
     {"a.dll"},
     [](auto& f) { f.files.folders.insert(""); },
     ExitStatus::kCompleted,
     {kComplete},
     {{R"(\a.dll)", "A"}}},
    {"ProgramAtADriveRoot",
     {"a.dll,,$SYSTEM"},
     [](auto& f) {
       f.directories.program = R"(C:\)";
       f.profile.path = R"(C:\\qxSetup.ini)";
       f.files.Add(f.profile.path, {});
       f.files.Add(R"(C:\\a.dll)", {.bytes = "root"});
     },
     ExitStatus::kCompleted,
     {kComplete},
     {{kSystemA, "root"}}},
    {"FailedCopyEndsTheWalk",
     {"a.dll,,$SYSTEM", "missing.dll,,$SYSTEM", "c.dll,,$SYSTEM"},
     {},
     ExitStatus::kFailed,
     {TwoLines(kCannotOpen, R"(C:\Setup\missing.dll)")},
     {{kSystemA, "A"}}},
    {"StopBeforeTheRunIsForgotten",
     {"a.dll,,$SYSTEM"},
     [](auto& f) { f.engine.RequestStop(); },
     ExitStatus::kCompleted,
     {kComplete},
     {{kSystemA, "A"}}},
    {"ValueOf1023BytesWhole",
     {LongValue(1023)},
     {},
     ExitStatus::kCompleted,
     {kComplete},
     {{LongDestination(1023), "A"}},
     {LongDestination(1023)}},
    {"ValueOf1024BytesCut",
     {LongValue(1024)},
     {},
     ExitStatus::kCompleted,
     {kComplete},
     {{LongDestination(1024), "A"}}},
};

TEST(RunSetup, RunsTheDescriptionToTheEndOfTheProgram) {
  for (const RunRow& row : kRows) {
    SCOPED_TRACE(row.name);
    FakePlatform f;
    for (const char* name : {"a", "b", "c"}) {
      f.files.Add(R"(C:\Setup\)" + std::string(name) + ".dll", {.bytes = {char(name[0] - 32)}});
    }
    for (std::size_t i = 0; i < row.entries.size(); ++i)
      f.profile.boot[Key(i + 1)] = row.entries[i];
    if (row.setup) row.setup(f);
    const auto before = f.files.files;

    EXPECT_EQ(f.Run(), row.status);
    std::map<std::string, std::string> installed;
    for (const auto& [path, file] : f.files.files) {
      const auto old = before.find(path);
      if (old == before.end() || fake::Contents(old->second) != fake::Contents(file)) {
        installed[path] = fake::Contents(file);
      }
    }
    EXPECT_EQ(installed, row.installed);
    EXPECT_EQ(f.support.registered, row.registered);
    std::vector<std::string> texts;
    for (const fake::Shown& shown : f.ui.messages) {
      texts.push_back(shown.text);
      // Only the completion message has a title of its own, the empty one.
      EXPECT_EQ(shown.title,
                shown.text == kComplete ? std::optional<std::string>("") : std::nullopt);
      const bool plain = shown.text == kComplete || shown.text.starts_with("ﾌｧｲﾙ");
      EXPECT_EQ(shown.icon, plain ? MessageIcon::kNone : MessageIcon::kWarning) << shown.text;
    }
    EXPECT_EQ(texts, row.messages);
    EXPECT_EQ(f.ui.open_files_at_end, 0);
    if (row.status == ExitStatus::kCompleted) {
      EXPECT_FALSE(f.ui.progress_window);
    }
  }
}

TEST(RunSetup, AsksForEntry32767AndNoFurther) {
  FakePlatform f;
  f.files.Add(R"(C:\Setup\a.dll)", {.bytes = "A"});
  f.files.Add(kSystemA, {.bytes = "A"});
  for (std::size_t n = 1; n <= 32768; ++n) f.profile.boot[Key(n)] = "a.dll,,$SYSTEM";
  EXPECT_EQ(f.Run(), ExitStatus::kCompleted);
  EXPECT_EQ(f.profile.lookups, 32767);
  EXPECT_EQ(f.profile.last_key, "Copy32767");
}

}  // namespace
}  // namespace tavrel

// The fake brings GoogleTest, the standard containers and the messages with it.
#include "engine/tests/fake_platform.h"

namespace tavrel {
namespace {

using fake::FakePlatform;
constexpr ExitStatus kOk = ExitStatus::kCompleted;
constexpr ExitStatus kFail = ExitStatus::kFailed;

constexpr char kSystemA[] = R"(C:\WINDOWS\system32\a.dll)";
constexpr char kSystemB[] = R"(C:\WINDOWS\system32\b.dll)";
constexpr char kToolsB[] = R"(C:\Tools\b.dll)";  // in a folder that others can change
const std::string kUnreadable(kIniFileUnreadable);
constexpr char kUtf8Mark[] = "\xEF\xBB\xBF[BOOT]";

// A run of the entries Copy1, Copy2, ... (nothing: unreadable) over the sources a.dll, b.dll
// and c.dll ("a", "b", "c") beside the description.
struct RunRow {
  const char* name;
  std::vector<std::optional<std::string>> entries;
  std::function<void(FakePlatform&)> setup;
  std::map<std::string, std::string> installed;  // every destination replaced: its new bytes
  std::vector<std::string> registered = {};
  ExitStatus status = kOk;
  std::vector<std::string> told = {};  // the messages, before the completion message if any
};

const RunRow kRuns[] = {
    // The description
    {"HiddenDescription", {"a.dll"}, [](auto& f) { f.files[f.ini].hidden = true; }, {}, {},
        kFail, {std::string(kIniFileMissing)}},
    {"HeldByAnotherProgram", {"a.dll"}, [](auto& f) { f.files[f.ini].locked = true; }, {}, {},
        kFail, {kUnreadable}},
    {"Utf8MarkHidesTheSection", {}, [](auto& f) { f.files[f.ini].bytes = kUtf8Mark; }, {}, {},
        kFail, {kUnreadable}},
    {"Utf16BigEndianMarkHidesTheSection", {}, [](auto& f) { f.files[f.ini].bytes = "\xFE\xFF"; },
        {}, {}, kFail, {kUnreadable}},
    {"Utf8MarkReadAsWritten", {"a.dll,,$SYSTEM"},
        [](auto& f) { f.files[f.ini].bytes = kUtf8Mark; }, {{kSystemA, "a"}}},
    {"UnreadableInTheWalk", {"a.dll,,$SYSTEM", std::nullopt}, {}, {{kSystemA, "a"}}, {}, kFail,
        {kUnreadable}},
    // The walk
    {"EmptyDescription", {}, {}, {}},
    {"GapEndsTheWalk", {"a.dll,,$SYSTEM", "", "b.dll,,$SYSTEM"}, {}, {{kSystemA, "a"}}},
    {"FailedCopyEndsTheWalk", {"a.dll,,$SYSTEM", "no.dll,,$SYSTEM", "c.dll,,$SYSTEM"}, {},
        {{kSystemA, "a"}}, {}, kFail, {TwoLines(kCannotOpen, R"(C:\Setup\no.dll)")}},
    {"Entry32767IsTheLast", {},
        [](auto& f) {
          for (int n = 1; n < 32767; ++n) f.boot["Copy" + std::to_string(n)] = "a.dll,,$SYSTEM";
          f.boot["Copy32767"] = "b.dll,,$SYSTEM", f.boot["Copy32768"] = "no.dll,,$SYSTEM";
        },
        {{kSystemA, "a"}, {kSystemB, "b"}}},
    {"StopBeforeTheRunIsForgotten", {"a.dll,,$SYSTEM"}, [](auto& f) { f.engine.RequestStop(); },
        {{kSystemA, "a"}}},
    // Registration, of a file copied or found up to date, as a file that Windows protects is
    {"UpToDateFiles", {"a.dll,,$SYSTEM,REGIST", "b.dll,,$SYSTEM,REGIST"}, [](auto& f) {
          f.Add(kSystemA, {}), f.Add(kSystemB, {.date = 50}), f.sfc_protected = {kSystemB};
        }, {}, {kSystemA, kSystemB}},
    // A failure is passed over; nothing that others could have put or changed is even loaded
    {"FailuresArePassedOver",
        {"a.dll,,$SYSTEM,REGIST", R"(b.dll,,C:\Tools,REGIST)", "c.dll,,$SYSTEM"}, [](auto& f) {
          f.regist_results[kSystemA] = 0, f.folders.insert(R"(C:\Tools)");
          f.changeable = {R"(C:\Tools)"};
        },
        {{kSystemA, "a"}, {kToolsB, "b"}, {R"(C:\WINDOWS\system32\c.dll)", "c"}}, {kSystemA}, kOk,
        {kSystemA + std::string(kRegistrationFailed), kToolsB + std::string(kRegistrationFailed)}},
    {"NoRegistDll", {"a.dll,,$SYSTEM,REGIST", "b.dll,,$SYSTEM"},
        [](auto& f) { f.unreachable = {SupportLibrary::Function::kRegistDll}; }, {{kSystemA, "a"}},
        {}, kFail, {TwoLines(kLibraryUnreachable, "RegistDll")}},
    {"ProgramAtADriveRoot", {"a.dll,,$SYSTEM"},
        [](auto& f) {
          f.program = R"(C:\)", f.ini = R"(C:\\qxSetup.ini)";
          f.Add(f.ini, {}), f.Add(R"(C:\\a.dll)", {.bytes = "root"});
        },
        {{kSystemA, "root"}}},
};

// Runs each row to the end of the program: every file installed, every registration and message.
TEST(RunSetup, InstallsTheEntriesRegistersTheMarkedOnesAndTellsHowTheRunEnded) {
  for (const RunRow& row : kRuns) {
    SCOPED_TRACE(row.name);
    FakePlatform f;
    for (const char* name : {"a", "b", "c"})
      f.Add(R"(C:\Setup\)" + std::string(name) + ".dll", {.bytes = name});
    for (std::size_t n = 1; n <= row.entries.size(); ++n)
      f.boot["Copy" + std::to_string(n)] = row.entries[n - 1];
    if (row.setup) row.setup(f);

    EXPECT_EQ(f.Run(), row.status);
    EXPECT_EQ(f.installed, row.installed);
    EXPECT_EQ(f.registered, row.registered);
    std::vector<std::string> told = row.told;
    if (row.status == kOk) told.emplace_back(kSetupComplete);
    EXPECT_EQ(f.messages, told);
  }
}

}  // namespace
}  // namespace tavrel

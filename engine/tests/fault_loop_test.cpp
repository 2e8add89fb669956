// The fake brings GoogleTest, the standard containers and the messages with it.
#include "engine/tests/fake_platform.h"

namespace tavrel {
namespace {

using fake::FakePlatform;

struct Entry {
  std::string value, source, destination;
  bool replaced;  // by a run without faults
};

// A new file, an older one replaced in two chunks, one up to date by version although newer by
// date, an empty source, and a hidden destination older by date but not by version.
const std::vector<Entry> kEntries = {
    {"a.dll,,$SYSTEM,REGIST", R"(C:\Setup\a.dll)", R"(C:\WINDOWS\system32\a.dll)", true},
    {"b.dll,,$WIN", R"(C:\Setup\b.dll)", R"(C:\WINDOWS\b.dll)", true},
    {"c.dll,,$SYSTEM,REGIST", R"(C:\Setup\c.dll)", R"(C:\WINDOWS\system32\c.dll)", false},
    {"e.dll,,$WIN", R"(C:\Setup\e.dll)", R"(C:\WINDOWS\e.dll)", true},
    {"h.dll,,$SYSTEM,REGIST", R"(C:\Setup\h.dll)", R"(C:\WINDOWS\system32\h.dll)", true}};

void Describe(FakePlatform& f) {
  for (std::size_t n = 1; n <= kEntries.size(); ++n)
    f.boot["Copy" + std::to_string(n)] = kEntries[n - 1].value;
  f.Add(R"(C:\Setup\a.dll)", {.bytes = "a"});
  f.Add(R"(C:\Setup\b.dll)", fake::Periodic(20000, 300));
  f.Add(R"(C:\WINDOWS\b.dll)", {.bytes = "old b"});
  f.Add(R"(C:\Setup\c.dll)", {.bytes = "c", .date = 300});
  f.Add(R"(C:\WINDOWS\system32\c.dll)", {.bytes = "old c"});
  f.Add(R"(C:\Setup\e.dll)", {.date = 300});
  f.Add(R"(C:\WINDOWS\e.dll)", {.bytes = "old e"});
  f.Add(R"(C:\Setup\h.dll)", {.bytes = "h", .date = 50});
  f.Add(R"(C:\WINDOWS\system32\h.dll)", {.bytes = "old h", .hidden = true});
  f.versions = {{R"(C:\Setup\c.dll)", 1},
                {R"(C:\WINDOWS\system32\c.dll)", 2},
                {R"(C:\Setup\h.dll)", 2},
                {R"(C:\WINDOWS\system32\h.dll)", 1}};
}

enum class Trial { kFault, kLastingFault, kStop };

// Runs the description once, failing its file-system step `at` (or that and every later one), or
// stopping it at its pump `at`, and checks what must hold after any run: a run that neither
// reached completes; a stop ends it as stopped; the one message fits the exit status and the
// entry where the run ended; destinations before that entry are done (one up to date may be
// copied all the same when a fault hides it), after it untouched, and in it old or new, never
// torn. Returns whether the fault or the stop came into play.
bool RunOnce(Trial trial, int at) {
  SCOPED_TRACE(std::to_string(static_cast<int>(trial)) + " at " + std::to_string(at));
  FakePlatform f;
  Describe(f);
  const auto before = f.files;
  (trial == Trial::kStop ? f.stop_at_pump : f.fail_call) = at;
  f.fail_from_then_on = trial == Trial::kLastingFault;
  const ExitStatus status = f.Run();
  const bool came_into_play = f.fault_fired || (trial == Trial::kStop && f.pumps >= at);
  if (!came_into_play || trial == Trial::kStop) {
    EXPECT_EQ(status, came_into_play ? ExitStatus::kStopped : ExitStatus::kCompleted);
  }

  // The walk asked for Copy1 up to Copy<reached>.
  const std::size_t reached = static_cast<std::size_t>(f.lookups);
  std::vector<std::string> registered;
  for (std::size_t n = 1; n <= kEntries.size(); ++n) {
    const Entry& e = kEntries[n - 1];
    const auto was = fake::At(before, e.destination), now = fake::At(f.files, e.destination);
    const fake::FakeFile source = before.at(e.source);
    if (n < reached && e.replaced) {
      EXPECT_EQ(now, source) << e.value;
    } else if (n > reached) {
      EXPECT_EQ(now, was) << e.value;
    } else {
      EXPECT_TRUE(now == was || now == source) << e.value;
    }
    if (n < reached && e.value.ends_with(",REGIST")) registered.push_back(e.destination);
  }
  EXPECT_EQ(f.registered, registered);

  // One message tells how the run ended; a failed copy's names its source or its destination.
  EXPECT_EQ(f.messages.size(), status == ExitStatus::kStopped ? 0u : 1u);
  if (status == ExitStatus::kCompleted) {
    EXPECT_EQ(reached, kEntries.size() + 1);
    EXPECT_EQ(f.messages, std::vector<std::string>{std::string(kSetupComplete)});
  } else if (status == ExitStatus::kFailed && reached > kEntries.size()) {
    // The walk's end found the description unreadable.
    EXPECT_EQ(f.messages, std::vector<std::string>{std::string(kIniFileUnreadable)});
  } else if (status == ExitStatus::kFailed && reached > 0) {
    const Entry& e = kEntries.at(reached - 1);
    for (const std::string& text : f.messages) {
      EXPECT_TRUE(text.ends_with("\r" + e.source) || text.ends_with("\r" + e.destination)) << text;
    }
  }
  return came_into_play;
}

// Fails every file-system step of whole runs in turn, at its 1st, 2nd, 3rd ... call until no call
// is reached, once and from then on; then stops at every pump in turn.
TEST(FaultLoop, EveryFaultAndStopLeavesEachDestinationOldOrNew) {
  int runs = 0;
  for (const Trial trial : {Trial::kFault, Trial::kLastingFault, Trial::kStop}) {
    for (int n = 1; RunOnce(trial, n); ++n) ++runs;
  }
  EXPECT_GT(runs, 50);
}

}  // namespace
}  // namespace tavrel

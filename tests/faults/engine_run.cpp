#include "tests/faults/engine_run.h"

#include <algorithm>

#include "engine/module1.h"
#include "tests/faults/versioned_support_library.h"

namespace tavrel::faults {

namespace {

constexpr char kLookup[] = "GetString BOOT ";

void LayOut(const Scenario& scenario, fake::FakePlatform& fake) {
  for (const std::string& folder : scenario.folders) fake.files.AddFolder(folder);
  for (const auto& [path, file] : scenario.files) {
    fake.files.AddFile(path, {.bytes = fake::FakeBytes(file.bytes),
                              .stamp = file.stamp,
                              .read_only = file.read_only,
                              .hidden = file.hidden});
  }
  for (const auto& [n, value] : scenario.entries) {
    fake.profile.sections["BOOT"]["Copy" + std::to_string(n)] = value;
  }
  if (scenario.fault) fake.files.FailAt(scenario.fault->step, scenario.fault->occurrence);
}

}  // namespace

ObservedRun RunEngine(const Scenario& scenario, Profile* description) {
  fake::FakePlatform fake;
  VersionedSupportLibrary support(fake.log, fake.files, scenario.versions);
  support.unreachable = scenario.unreachable;
  support.regist_results = scenario.regist_results;
  LayOut(scenario, fake);
  Module1 engine(Platform{fake.directories, description ? *description : fake.profile, fake.files,
                          fake.ui, support});
  fake.ui.on_pump = [&](int pump) {
    if (pump == scenario.stop_at_pump) engine.RequestStop();
  };

  ObservedRun observed;
  try {
    engine.RunSetup();
  } catch (const fake::ProgramEnded& ended) {
    observed.status = ended.status;
  }
  observed.messages = fake.ui.messages;
  observed.temporaries = fake.files.TemporaryFiles();
  for (const std::string& path : fake.files.Paths()) {
    if (std::ranges::find(observed.temporaries, path) != observed.temporaries.end()) continue;
    const fake::FakeFile& file = *fake.files.Find(path);
    observed.files[path] = {file.bytes.Text(), file.stamp, file.read_only, file.hidden};
  }
  for (const std::string& call : fake.Calls(kLookup)) {
    observed.lookups.push_back(call.substr(sizeof kLookup - 1));
  }
  observed.fault_fired = fake.files.FaultFired();
  observed.open_files_at_end = fake.ui.open_files_at_end;
  return observed;
}

}  // namespace tavrel::faults

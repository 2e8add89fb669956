#pragma once

#include <string>

#include "bench/bench_platform.h"

namespace tavrel::bench {

// Where a walk's files lie: the description qxSetup.ini in `app_folder` names entries 1 to
// `entries`, entry n copying fn.dll from `app_folder` into `destination_folder`, where an
// up-to-date fn.dll stands already.
struct WalkFiles {
  std::string app_folder;
  std::string destination_folder;
  int entries = 0;
};

// InstallList over the description against a bare loop of the calls such a walk must make, in
// turn, `runs` times each.
std::string MeasureWalk(BenchPlatform& platform, const WalkFiles& files, int runs);

// Each kind of call of the walk alone, once for every entry, `runs` times each: where the time
// of a walk goes.
std::string MeasureWalkCalls(BenchPlatform& platform, const WalkFiles& files, int runs);

}  // namespace tavrel::bench

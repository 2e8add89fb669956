#pragma once

#include <string>

#include "bench/bench_platform.h"

namespace tavrel::bench {

// One pump pass with nothing pending, `passes` times per run: the cost of the pump alone.
std::string MeasurePump(BenchPlatform& platform, int passes, int runs);

// The copy of `source` into `folder` by CopyIfNewer, by a bare loop of 16 KiB ReadFile and
// WriteFile with one pump pass per chunk, and by CopyFileW, in turn, `runs` times each.
std::string MeasureCopy(BenchPlatform& platform, const std::string& source,
                        const std::string& folder, int runs);

// One copy of `source` into `folder` by CopyIfNewer, then the process's peak memory as a table row.
std::string MeasureCopyMemory(BenchPlatform& platform, const std::string& source,
                              const std::string& folder);

}  // namespace tavrel::bench

// Measures the engine under Wine against bare loops of the same Windows calls; scripts/bench
// prepares the files, runs each measurement and gathers the tables.
//   tavrel_bench pump PASSES RUNS
//   tavrel_bench copy SOURCE FOLDER RUNS
//   tavrel_bench memory SOURCE FOLDER
//   tavrel_bench walk APP_FOLDER DESTINATION_FOLDER ENTRIES RUNS
//   tavrel_bench calls APP_FOLDER DESTINATION_FOLDER ENTRIES RUNS
// Each prints a Markdown table (memory: one row of it) on its standard output.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_platform.h"
#include "bench/copy_cases.h"
#include "bench/walk_cases.h"
#include "platform/win32/text_conversion.h"

namespace tavrel::bench {
namespace {

int Count(const std::string& text) {
  const int count = std::atoi(text.c_str());
  if (count <= 0) {
    std::fprintf(stderr, "tavrel_bench: not a positive count: %s\n", text.c_str());
    std::exit(2);
  }
  return count;
}

std::string Run(const std::vector<std::string>& arguments) {
  const std::string mode = arguments.empty() ? "" : arguments[0];
  const std::size_t count = arguments.size();
  BenchPlatform platform;
  if (mode == "pump" && count == 3) {
    return MeasurePump(platform, Count(arguments[1]), Count(arguments[2]));
  }
  if (mode == "copy" && count == 4) {
    return MeasureCopy(platform, arguments[1], arguments[2], Count(arguments[3]));
  }
  if (mode == "memory" && count == 3)
    return MeasureCopyMemory(platform, arguments[1], arguments[2]);
  if ((mode == "walk" || mode == "calls") && count == 5) {
    const WalkFiles files{arguments[1], arguments[2], Count(arguments[3])};
    return mode == "walk" ? MeasureWalk(platform, files, Count(arguments[4]))
                          : MeasureWalkCalls(platform, files, Count(arguments[4]));
  }
  std::fprintf(stderr, "tavrel_bench: usage: see bench/tavrel_bench.cpp\n");
  std::exit(2);
}

}  // namespace
}  // namespace tavrel::bench

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i)
    arguments.push_back(tavrel::bench::Converted(tavrel::WideToUtf8(argv[i])));
  std::fputs(tavrel::bench::Run(arguments).c_str(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

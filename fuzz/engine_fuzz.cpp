// libFuzzer target: any bytes make a description, a disk and at most one failing step or stop
// (see tests/faults/bytes_scenario.h); the engine must run them as the model says, end the program
// through EndProgram, and leave nothing open or half-written.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>

#include "tests/faults/bytes_scenario.h"
#include "tests/faults/run_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string report =
      tavrel::faults::ReportOfRun(tavrel::faults::ScenarioFromBytes(std::span(data, size)));
  if (!report.empty()) {
    std::fputs(report.c_str(), stderr);
    std::abort();
  }
  return 0;
}

#include "bench/bench_platform.h"

#include <cstdio>

namespace tavrel::bench {

void BenchUserInterface::ShowMessage(const std::string& text, MessageIcon,
                                     const std::optional<std::string>&) {
  std::fprintf(stderr, "tavrel_bench: the engine reported: %s\n", text.c_str());
  EndProgram(ExitStatus::kFailed);
}

BenchPlatform::BenchPlatform() {
  ui.ShowProgressWindow();
  ui.PumpEvents();
}

}  // namespace tavrel::bench

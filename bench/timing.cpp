#include "bench/timing.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

namespace tavrel::bench {

double SecondsOf(const std::function<void()>& work) {
  LARGE_INTEGER frequency{}, start{}, end{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  work();
  QueryPerformanceCounter(&end);
  return static_cast<double>(end.QuadPart - start.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

Spread Summarise(std::vector<double> samples) {
  if (samples.empty()) return {};
  std::sort(samples.begin(), samples.end());
  const std::size_t middle = samples.size() / 2;
  const double median =
      samples.size() % 2 == 1 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
  return {median, samples.front(), samples.back()};
}

void MeasureInTurn(std::vector<Case>& cases, const std::vector<std::function<void()>>& works,
                   int runs, const std::function<void()>& after) {
  for (std::size_t run = 0; run < static_cast<std::size_t>(runs); ++run) {
    for (std::size_t step = 0; step < cases.size(); ++step) {
      const std::size_t index = (run + step) % cases.size();
      cases[index].seconds.push_back(SecondsOf(works.at(index)));
      after();
    }
  }
}

std::string Table(const std::vector<Case>& cases, std::size_t baseline,
                  std::size_t per_call_count) {
  const double baseline_median = Summarise(cases.at(baseline).seconds).median;
  std::string table = "| case | runs | median s | min s | max s | × baseline |";
  table += per_call_count != 0 ? " µs per call |\n|---|---|---|---|---|---|---|\n"
                               : "\n|---|---|---|---|---|---|\n";
  for (const Case& measured : cases) {
    const Spread spread = Summarise(measured.seconds);
    char row[256];
    std::snprintf(row, sizeof row, "| %s | %zu | %.3f | %.3f | %.3f | %.3f |",
                  measured.name.c_str(), measured.seconds.size(), spread.median, spread.low,
                  spread.high, spread.median / baseline_median);
    table += row;
    if (per_call_count != 0) {
      std::snprintf(row, sizeof row, " %.1f |",
                    spread.median * 1e6 / static_cast<double>(per_call_count));
      table += row;
    }
    table += "\n";
  }
  return table;
}

}  // namespace tavrel::bench

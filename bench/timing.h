#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tavrel::bench {

// Wall-clock seconds that `work` takes, by the performance counter.
double SecondsOf(const std::function<void()>& work);

// The median and the extremes of several repetitions of one case.
struct Spread {
  double median = 0;
  double low = 0;
  double high = 0;
};

Spread Summarise(std::vector<double> samples);

// One measured case: its name and the seconds of each repetition.
struct Case {
  std::string name;
  std::vector<double> seconds;
};

// Each of `works` (one for each of `cases`) `runs` times, timed, then `after` untimed. In turn,
// each run starting one case further on, so that neither a change in the machine's load nor a
// cache warmed by the case before falls on one case alone.
void MeasureInTurn(
    std::vector<Case>& cases, const std::vector<std::function<void()>>& works, int runs,
    const std::function<void()>& after = [] {});

// A Markdown table of the cases, each also as a multiple of the median of `baseline` (an index
// into `cases`), and, when `per_call_count` is not 0, the median time of one call in µs.
std::string Table(const std::vector<Case>& cases, std::size_t baseline, std::size_t per_call_count);

}  // namespace tavrel::bench

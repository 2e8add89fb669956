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

// A Markdown table of the cases, each also as a multiple of the median of `baseline` (an index
// into `cases`), and, when `per_call_count` is not 0, the median time of one call in µs.
std::string Table(const std::vector<Case>& cases, std::size_t baseline, std::size_t per_call_count);

}  // namespace tavrel::bench

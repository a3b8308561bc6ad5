#pragma once
// Timing for the benchmarks: the median of several runs, in milliseconds.
#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace tarvix::bench {

// Milliseconds since `start` (a QueryPerformanceCounter reading).
[[nodiscard]] inline double MsSince(const LARGE_INTEGER& start) {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

[[nodiscard]] inline double Median(std::vector<double> values) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The median time of `runs` calls of `work`.
[[nodiscard]] inline double MedianMs(int runs, const std::function<void()>& work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    work();
    times.push_back(MsSince(start));
  }
  return Median(std::move(times));
}

}  // namespace tarvix::bench

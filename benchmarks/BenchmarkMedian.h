// Median of a set of measurements (0 for none), shared by the benchmarks.
#ifndef BenchmarkMedian_h
#define BenchmarkMedian_h

#include <algorithm>
#include <cstddef>
#include <vector>

inline double Median(std::vector<double> values)
{
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  if (n == 0)
    return 0.0;
  return n % 2 != 0 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
}

#endif

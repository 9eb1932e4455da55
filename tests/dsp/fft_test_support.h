// Helpers shared by the RealFft tests.
#pragma once

#include <cstddef>
#include <random>
#include <vector>

#include "dsp/real_fft.h"

namespace fft_test {

// Minimum work length for n : 2 + M, M the smallest power of
// two with 8*M*M >= n; 2 for n <= 4.
inline std::size_t MinWorkInts(int n) {
  if (n <= 4) return 2;
  long long m = 1;
  while (8 * m * m < n) m *= 2;
  return static_cast<std::size_t>(2 + m);
}

// Minimum table length for n: n/2 doubles, none for n <= 4.
inline std::size_t MinTableDoubles(int n) {
  return n <= 4 ? 0 : static_cast<std::size_t>(n / 2);
}

// Work and table arrays of exactly the minimum size for n (so that the
// sanitizer build catches any access past them), with no tables built yet.
struct Tables {
  explicit Tables(int n) : work(MinWorkInts(n), -1), table(MinTableDoubles(n)) {
    work[0] = 0;
  }
  std::vector<int> work;
  std::vector<double> table;
  void Run(int n, int direction, double* data) {
    RealFft(n, direction, data, work.data(),
            table.empty() ? nullptr : table.data());
  }
};

inline std::vector<double> RandomSignal(int n, unsigned seed) {
  std::mt19937_64 rng(seed);
  std::uniform_real_distribution<double> uniform(-1.0, 1.0);
  std::vector<double> x(static_cast<std::size_t>(n));
  for (double& v : x) v = uniform(rng);
  return x;
}

inline std::vector<int> PowersOfTwo(int from, int to) {
  std::vector<int> sizes;
  for (int n = from; n <= to; n *= 2) sizes.push_back(n);
  return sizes;
}

}  // namespace fft_test

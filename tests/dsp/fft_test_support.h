// Helpers shared by the RealFft tests.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <random>
#include <string>
#include <vector>

#include "dsp/real_fft.h"
#include "dsp/real_fft_paths.h"

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

using tonvela::fft::Path;

// Work and table arrays of exactly the minimum size for n (so that the
// sanitizer build catches any access past them), with no tables built yet.
// Run transforms on the given code path.
struct Tables {
  explicit Tables(int n, Path path = tonvela::fft::ChosenPath())
      : path(path), work(MinWorkInts(n), -1), table(MinTableDoubles(n)) {
    work[0] = 0;
  }
  Path path;
  std::vector<int> work;
  std::vector<double> table;
  void Run(int n, int direction, double* data) {
    tonvela::fft::RealFftOnPath(path, n, direction, data, work.data(),
                                table.empty() ? nullptr : table.data());
  }
};

// Tests that run once per code path; a path this CPU cannot run is skipped.
class EachPath : public testing::TestWithParam<Path> {
 protected:
  void SetUp() override {
    if (!tonvela::fft::PathAvailable(GetParam()))
      GTEST_SKIP() << tonvela::fft::PathName(GetParam()) << " is not available here";
  }
  Path path() const { return GetParam(); }
};

inline std::string PathTestName(const testing::TestParamInfo<Path>& info) {
  return info.param == Path::kBaseline ? "Baseline" : "X86_64V3";
}

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

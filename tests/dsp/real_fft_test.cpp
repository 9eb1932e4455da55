// Tests of RealFft against an independent long-double direct
// DFT, the documented table states, and the edge cases.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "dsp/real_fft.h"
#include "fft_test_support.h"

namespace {

using fft_test::PowersOfTwo;
using fft_test::RandomSignal;
using fft_test::EachPath;
using fft_test::Tables;

class RealFft : public EachPath {};

constexpr double kEps = std::numeric_limits<double>::epsilon();
constexpr long double kPiL = std::numbers::pi_v<long double>;

// Allowed deviation from the exact transform: a few roundings per stage,
// scaled by the rms size of the values (sqrt(n) for inputs in [-1, 1]).
double Tolerance(int n) {
  return 2.0 * kEps * (1.0 + std::log2(n)) * std::sqrt(static_cast<double>(n));
}

// cos and sin of 2*pi*m/n for m = 0 .. n-1, in long double.
struct UnitCircle {
  explicit UnitCircle(int n) : c(n), s(n) {
    for (int m = 0; m < n; ++m) {
      c[m] = std::cos(2 * kPiL * m / n);
      s[m] = std::sin(2 * kPiL * m / n);
    }
  }
  std::vector<long double> c, s;
};

// The forward result by direct summation, in the packed layout.
std::vector<double> DirectForward(const std::vector<double>& x) {
  const int n = static_cast<int>(x.size());
  const UnitCircle unit(n);
  std::vector<double> out(n);
  for (int k = 0; k <= n / 2; ++k) {
    long double re = 0, im = 0;
    for (int j = 0; j < n; ++j) {
      const int m = static_cast<int>((static_cast<long long>(j) * k) % n);
      re += x[j] * unit.c[m];
      im += x[j] * unit.s[m];
    }
    if (k == 0) out[0] = static_cast<double>(re);
    else if (k == n / 2) out[1] = static_cast<double>(re);
    else {
      out[2 * k] = static_cast<double>(re);
      out[2 * k + 1] = static_cast<double>(im);
    }
  }
  return out;
}

// The backward result by direct summation.
std::vector<double> DirectBackward(const std::vector<double>& packed) {
  const int n = static_cast<int>(packed.size());
  const UnitCircle unit(n);
  std::vector<double> out(n);
  for (int j = 0; j < n; ++j) {
    long double v = (static_cast<long double>(packed[0]) +
                     static_cast<long double>(packed[1]) * (j % 2 ? -1 : 1)) / 2;
    for (int k = 1; k < n / 2; ++k) {
      const int m = static_cast<int>((static_cast<long long>(j) * k) % n);
      v += packed[2 * k] * unit.c[m] + packed[2 * k + 1] * unit.s[m];
    }
    out[j] = static_cast<double>(v);
  }
  return out;
}

double MaxAbsDiff(const std::vector<double>& a, const std::vector<double>& b) {
  double worst = 0;
  for (std::size_t i = 0; i < a.size(); ++i)
    worst = std::max(worst, std::abs(a[i] - b[i]));
  return worst;
}

// --- Against the direct DFT, every power of two from 2 to 1024. -------------

TEST_P(RealFft, MatchesDirectDftForwardAndBackward) {
  for (int n : PowersOfTwo(2, 1024)) {
    SCOPED_TRACE("n = " + std::to_string(n));
    Tables t(n, path());
    std::vector<double> x = RandomSignal(n, 1000 + n);
    std::vector<double> data = x;
    t.Run(n, 1, data.data());
    EXPECT_LE(MaxAbsDiff(data, DirectForward(x)), Tolerance(n)) << "forward";

    // Backward of an arbitrary packed spectrum (not a forward result).
    std::vector<double> spectrum = RandomSignal(n, 2000 + n);
    data = spectrum;
    t.Run(n, -1, data.data());
    EXPECT_LE(MaxAbsDiff(data, DirectBackward(spectrum)), Tolerance(n))
        << "backward";
  }
}

TEST_P(RealFft, SmallLengthsExact) {
  Tables t(4, path());
  std::vector<double> d2 = {3, 5};
  t.Run(2, 1, d2.data());
  EXPECT_EQ(d2, (std::vector<double>{8, -2}));
  t.Run(2, -1, d2.data());
  EXPECT_EQ(d2, (std::vector<double>{3, 5}));  // n/2 = 1
  std::vector<double> d4 = {1, 2, 4, 8};
  t.Run(4, 1, d4.data());
  EXPECT_EQ(d4, (std::vector<double>{15, -5, -3, -6}));
  t.Run(4, -1, d4.data());
  EXPECT_EQ(d4, (std::vector<double>{2, 4, 8, 16}));  // 2*x
}

// --- Round trip at every power of two, with arrays of the minimum sizes. -----

TEST_P(RealFft, BackwardAfterForwardGivesHalfNTimesInput) {
  for (int n : PowersOfTwo(2, 1 << 20)) {
    SCOPED_TRACE("n = " + std::to_string(n));
    Tables t(n, path());
    const std::vector<double> x = RandomSignal(n, n);
    std::vector<double> data = x;
    t.Run(n, 1, data.data());
    t.Run(n, -1, data.data());
    const double scale = 2.0 / n;
    double worst = 0;
    for (int j = 0; j < n; ++j)
      worst = std::max(worst, std::abs(data[j] * scale - x[j]));
    EXPECT_LE(worst, 2.0 * kEps * (1.0 + std::log2(n)));
  }
}

// --- Table states after one call on fresh arrays (documented edge cases). ------

struct TableCase {
  int n;
  std::vector<int> work;                       // expected prefix of work
  int writtenBegin, writtenEnd;                // table range that may change
  std::vector<std::pair<int, double>> values;  // documented spot values
};

const double kC4 = std::cos(std::numbers::pi / 4);
const double kC8 = std::cos(std::numbers::pi / 8);
const double kS8 = std::sin(std::numbers::pi / 8);

const TableCase kTableCases[] = {
    {2, {0, 1}, 0, 0, {}},
    {4, {1, 1}, 0, 0, {}},
    {8, {2, 2}, 2, 4, {{2, kC4}, {3, 0.5 * kC4}}},
    {16, {4, 4}, 0, 8,
     {{0, 1}, {1, 0}, {2, kC4}, {3, kC4},
      {4, kC4}, {5, 0.5 * kC8}, {6, 0.5 * kC4}, {7, 0.5 * kS8}}},
    {128, {32, 32, 0, 64, 32, 96}, 0, 64,
     {{0, 1}, {1, 0}, {2, kC4}, {3, kC4}, {4, kC8}, {5, kS8},
      {32, kC4}, {32 + 16, 0.5 * kC4}}},
};

int BitReverse(int v, int bits) {
  int r = 0;
  for (int i = 0; i < bits; ++i) r |= ((v >> i) & 1) << (bits - 1 - i);
  return r;
}

TEST_P(RealFft, TableStatesAfterFirstCall) {
  constexpr double kSentinel = -777.0;
  constexpr int kWorkSize = 18, kTableSize = 512;  // the program's sizes
  for (const TableCase& c : kTableCases) {
    SCOPED_TRACE("n = " + std::to_string(c.n));
    std::vector<int> work(kWorkSize, -7);
    work[0] = 0;
    std::vector<double> table(kTableSize, kSentinel);
    std::vector<double> data = RandomSignal(c.n, 7);
    tonvela::fft::RealFftOnPath(path(), c.n, 1, data.data(), work.data(), table.data());

    for (std::size_t i = 0; i < c.work.size(); ++i)
      EXPECT_EQ(work[i], c.work[i]) << "work[" << i << "]";
    for (std::size_t i = fft_test::MinWorkInts(c.n); i < work.size(); ++i)
      EXPECT_EQ(work[i], -7) << "work[" << i << "] beyond the minimum size";
    for (int i = 0; i < kTableSize; ++i) {
      if (i < c.writtenBegin || i >= c.writtenEnd) {
        EXPECT_EQ(table[i], kSentinel) << "table[" << i << "] touched";
      }
    }
    for (const auto& [index, value] : c.values)
      EXPECT_NEAR(table[index], value, 2 * kEps) << "table[" << index << "]";

    // The whole tables against their definitions: twiddle pair b holds the
    // angle q*pi/T, q = b bit-reversed; cosine c[j] = cos(j*pi/(2K))/2.
    const int T = work[0], K = work[1];
    if (T >= 4) {
      const int bits = static_cast<int>(std::log2(T / 2));
      for (int b = 0; b < T / 2; ++b) {
        const double theta = BitReverse(b, bits) * std::numbers::pi / T;
        EXPECT_NEAR(table[2 * b], std::cos(theta), 2 * kEps) << "pair " << b;
        EXPECT_NEAR(table[2 * b + 1], std::sin(theta), 2 * kEps) << "pair " << b;
      }
    }
    if (K >= 2) {
      for (int j = 1; j < K; ++j)
        EXPECT_NEAR(table[T + j], 0.5 * std::cos(j * std::numbers::pi / (2 * K)),
                    kEps) << "c[" << j << "]";
    }

    // A second call at the same length builds nothing and repeats the result.
    const std::vector<int> workBefore(work.begin(), work.begin() + 2);
    const std::vector<double> tableBefore = table;
    std::vector<double> again = RandomSignal(c.n, 7);
    tonvela::fft::RealFftOnPath(path(), c.n, 1, again.data(), work.data(), table.data());
    EXPECT_EQ(again, data);
    EXPECT_EQ(std::vector<int>(work.begin(), work.begin() + 2), workBefore);
    EXPECT_EQ(0, std::memcmp(table.data(), tableBefore.data(),
                             table.size() * sizeof(double)));
  }
}

// --- Tables built for a longer length are reused; shorter ones rebuilt. ------

struct ReuseCase {
  int builtFor, n;
};
const ReuseCase kReuseCases[] = {{256, 128}, {256, 8}, {256, 16}, {4096, 32},
                                 {1 << 14, 1024}, {128, 1024}, {8, 4096}};

TEST_P(RealFft, TablesForOtherLengthsGiveFreshResults) {
  for (const auto& [builtFor, n] : kReuseCases) {
    SCOPED_TRACE(std::to_string(n) + " after " + std::to_string(builtFor));
    Tables shared(std::max(builtFor, n), path());
    std::vector<double> warmup = RandomSignal(builtFor, 3);
    shared.Run(builtFor, 1, warmup.data());
    const std::vector<double> tableBefore = shared.table;

    for (int direction : {1, -1}) {
      Tables fresh(n, path());
      std::vector<double> a = RandomSignal(n, 4), b = a;
      shared.Run(n, direction, a.data());
      fresh.Run(n, direction, b.data());
      EXPECT_EQ(a, b) << "direction " << direction;  // bit for bit
    }
    const int longest = std::max(builtFor, n);
    EXPECT_EQ(shared.work[0], longest / 4);
    EXPECT_EQ(shared.work[1], longest / 4);
    if (n <= builtFor) {
      EXPECT_EQ(shared.table, tableBefore) << "tables must not be rebuilt";
    }
  }
}

// --- Pure tones land in exactly their bin. -----------------------------------

// x[j] = cos(2*pi*f*j/n) or sin(...), f possibly fractional.
std::vector<double> Tone(int n, long double f, bool sine) {
  std::vector<double> x(n);
  for (int j = 0; j < n; ++j) {
    const long double angle = 2 * kPiL * std::fmod(f * j, n) / n;
    x[j] = static_cast<double>(sine ? std::sin(angle) : std::cos(angle));
  }
  return x;
}

TEST_P(RealFft, PureTonesLandInTheirBin) {
  for (int n : {8, 128, 1024}) {
    for (int b : {1, 3, n / 4, n / 2 - 1}) {
      for (bool sine : {false, true}) {
        SCOPED_TRACE("n = " + std::to_string(n) + ", bin " + std::to_string(b) +
                     (sine ? ", sine" : ", cosine"));
        Tables t(n, path());
        std::vector<double> data = Tone(n, b, sine);
        t.Run(n, 1, data.data());
        const int hit = 2 * b + (sine ? 1 : 0);
        for (int i = 0; i < n; ++i) {
          const double expected = i == hit ? n / 2.0 : 0.0;
          EXPECT_NEAR(data[i], expected, Tolerance(n)) << "element " << i;
        }
      }
    }
  }
}

// Negative control: the check above does see energy in neighbouring bins.
// A tone half-way between bins b and b + 1 puts about n/pi into each.
TEST_P(RealFft, OffBinToneLeaksIntoNeighbours) {
  const int n = 128, b = 10;
  Tables t(n, path());
  std::vector<double> data = Tone(n, b + 0.5L, false);
  t.Run(n, 1, data.data());
  for (int k : {b, b + 1}) {
    EXPECT_GT(std::hypot(data[2 * k], data[2 * k + 1]), n / 10.0) << "bin " << k;
  }
}

TEST_P(RealFft, ConstantImpulseAndNyquist) {
  const int n = 64;
  Tables t(n, path());
  std::vector<double> data(n, 0.25);  // constant v: data[0] = n*v
  t.Run(n, 1, data.data());
  for (int i = 0; i < n; ++i)
    EXPECT_NEAR(data[i], i == 0 ? n * 0.25 : 0.0, Tolerance(n)) << i;

  data.assign(n, 0.0);  // unit impulse at 0
  data[0] = 1;
  t.Run(n, 1, data.data());
  for (int i = 0; i < n; ++i)
    EXPECT_NEAR(data[i], (i < 2 || i % 2 == 0) ? 1.0 : 0.0, Tolerance(n)) << i;

  for (int j = 0; j < n; ++j) data[j] = j % 2 ? -1.0 : 1.0;  // bin n/2
  t.Run(n, 1, data.data());
  for (int i = 0; i < n; ++i)
    EXPECT_NEAR(data[i], i == 1 ? n : 0.0, Tolerance(n)) << i;
}

// --- Direction: >= 0 (0 included) is forward, < 0 backward. -----------------

TEST_P(RealFft, DirectionSign) {
  const int n = 256;
  Tables t(n, path());
  const std::vector<double> x = RandomSignal(n, 11);
  std::vector<double> forward = x, backward = x;
  t.Run(n, 1, forward.data());
  t.Run(n, -1, backward.data());
  for (int direction : {0, 2, 1000}) {
    std::vector<double> d = x;
    t.Run(n, direction, d.data());
    EXPECT_EQ(d, forward) << "direction " << direction;
  }
  for (int direction : {-2, -1000}) {
    std::vector<double> d = x;
    t.Run(n, direction, d.data());
    EXPECT_EQ(d, backward) << "direction " << direction;
  }
}

INSTANTIATE_TEST_SUITE_P(Paths, RealFft, testing::ValuesIn(tonvela::fft::kAllPaths),
                         fft_test::PathTestName);

}  // namespace

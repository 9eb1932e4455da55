// Every code path of RealFft gives the same bits, and those bits are the ones
// the transform has always given.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "dsp/real_fft.h"
#include "dsp/real_fft_paths.h"
#include "fft_test_support.h"

namespace {

using tonvela::fft::Path;
using tonvela::fft::PathAvailable;
using tonvela::fft::PathName;

// Values in [-1, 1) from the raw bits of the generator, so that they are the
// same with every standard library; a few exact zeros of both signs, tiny and
// huge values among them.
std::vector<double> Signal(int n, std::uint64_t seed) {
  std::mt19937_64 rng(seed);
  std::vector<double> x(static_cast<std::size_t>(n));
  for (double& v : x) v = std::ldexp(static_cast<double>(rng() >> 11), -52) - 1.0;
  if (n >= 16) {
    x[1] = 0.0;
    x[2] = -0.0;
    x[n / 2] = -0.0;
    x[n / 2 + 1] = 0.0;
    x[n - 3] = std::numeric_limits<double>::denorm_min();
    x[n - 1] = 1e300;
  }
  return x;
}

// The result of one transform on a path: data and work area.
struct Result {
  std::vector<double> data;
  std::vector<int> work;
};

// Transforms Signal(n) on `path`, with tables built for n, or for builtFor > n
// by an earlier call (the split step then strides through a longer table).
Result Transform(Path path, int n, int direction, int builtFor) {
  fft_test::Tables t(builtFor, path);
  if (builtFor > n) {
    std::vector<double> warm = Signal(builtFor, 1);
    t.Run(builtFor, 1, warm.data());
  }
  Result r{Signal(n, 1000 + n + direction), {}};
  t.Run(n, direction, r.data.data());
  r.work = t.work;
  return r;
}

bool SameBits(const std::vector<double>& a, const std::vector<double>& b) {
  return a.size() == b.size() &&
         std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

std::vector<Path> OtherAvailablePaths() {
  std::vector<Path> paths;
  for (Path path : tonvela::fft::kAllPaths)
    if (path != Path::kBaseline && PathAvailable(path)) paths.push_back(path);
  return paths;
}

TEST(RealFftPaths, EveryPathGivesTheBaselineBits) {
  const std::vector<Path> others = OtherAvailablePaths();
  if (others.empty()) GTEST_SKIP() << "only the baseline path runs on this CPU";
  for (int n : fft_test::PowersOfTwo(2, 1 << 20)) {
    for (int direction : {1, -1}) {
      for (int builtFor : {n, 4 * n}) {
        SCOPED_TRACE("n = " + std::to_string(n) + ", direction " +
                     std::to_string(direction) + ", tables for " + std::to_string(builtFor));
        const Result baseline = Transform(Path::kBaseline, n, direction, builtFor);
        for (Path path : others) {
          const Result r = Transform(path, n, direction, builtFor);
          EXPECT_TRUE(SameBits(r.data, baseline.data)) << PathName(path);
          EXPECT_EQ(r.work, baseline.work) << PathName(path);
        }
      }
    }
  }
}

// 64-bit FNV-1a of the bytes of the doubles.
std::uint64_t Digest(const std::vector<double>& v) {
  std::uint64_t h = 14695981039346656037ull;
  for (double d : v) {
    unsigned char bytes[sizeof d];
    std::memcpy(bytes, &d, sizeof d);
    for (unsigned char b : bytes) h = (h ^ b) * 1099511628211ull;
  }
  return h;
}

// Digests of the results of the transform as written before it had more than
// one path; any change of an operation or of their order changes them.
struct KnownResult {
  int n, direction;
  std::uint64_t digest;
};
const KnownResult kKnownResults[] = {
    {8, 1, 0xefb437e539ff5943ull},
    {8, -1, 0x1dae2715cfb82298ull},
    {16, 1, 0x97e87fbb5085074dull},
    {16, -1, 0x5ee91ad550f02939ull},
    {32, 1, 0x8cbc159ca2c02d9dull},
    {32, -1, 0x3b0740131b521a05ull},
    {64, 1, 0xabe1702bdd2a23edull},
    {64, -1, 0x1fc2fa6ea4993b55ull},
    {128, 1, 0xa5573458ad78de1dull},
    {128, -1, 0xb8b0b4ea3537ab59ull},
    {256, 1, 0xb22cac117019ad2bull},
    {256, -1, 0x6f357acbd5a74705ull},
    {1024, 1, 0xdbe23bb85cde168dull},
    {1024, -1, 0xa818e10f24142465ull},
    {4096, 1, 0xd94867590e4a1564ull},
    {4096, -1, 0xdeb94488c4deb23dull},
    {65536, 1, 0x08939be60b3a9480ull},
    {65536, -1, 0x79c537bf9024b3bdull},
    {1048576, 1, 0x59ae54bc2ea75a8bull},
    {1048576, -1, 0x38950458654168a5ull},
};

TEST(RealFftPaths, ResultsAreTheKnownBits) {
  for (Path path : tonvela::fft::kAllPaths) {
    if (!PathAvailable(path)) continue;
    for (const KnownResult& known : kKnownResults) {
      SCOPED_TRACE(std::string(PathName(path)) + ", n = " + std::to_string(known.n) +
                   ", direction " + std::to_string(known.direction));
      EXPECT_EQ(Digest(Transform(path, known.n, known.direction, known.n).data),
                known.digest);
    }
  }
}

TEST(RealFftPaths, RealFftTakesTheWidestAvailablePath) {
  const Path expected =
      PathAvailable(Path::kX86_64V3) ? Path::kX86_64V3 : Path::kBaseline;
  EXPECT_EQ(tonvela::fft::ChosenPath(), expected);
  std::vector<double> viaRealFft = Signal(1024, 9);
  fft_test::Tables t(1024);
  RealFft(1024, 1, viaRealFft.data(), t.work.data(), t.table.data());
  const Result viaPath = [&] {
    fft_test::Tables p(1024, expected);
    Result r{Signal(1024, 9), {}};
    p.Run(1024, 1, r.data.data());
    return r;
  }();
  EXPECT_TRUE(SameBits(viaRealFft, viaPath.data));
}

}  // namespace

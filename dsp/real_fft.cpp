// Real FFT: the tables, and the choice of code path. The transform itself is
// in real_fft_kernels.h.
#include "dsp/real_fft.h"

#include <cmath>

#include "dsp/real_fft_kernels.h"
#include "dsp/real_fft_paths.h"

namespace tonvela::fft {
#if defined(TONVELA_FFT_X86_64_V3)
void TransformX86_64V3(int n, int direction, double* data, int* work,
                       const double* table, int T, int K);
#endif
}  // namespace tonvela::fft

namespace {

void MakeTwiddleTable(int T, int* work, double* w) {
  work[0] = T;
  work[1] = 1;
  if (T <= 2) return;
  const int h = T / 2;
  const double delta = std::atan(1.0) / static_cast<double>(h);
  w[0] = 1;
  w[1] = 0;
  w[h] = std::cos(static_cast<double>(h) * delta);
  w[h + 1] = w[h];
  if (h <= 2) return;
  for (int j = 2; j < h; j += 2) {
    const double x = std::cos(static_cast<double>(j) * delta);
    const double y = std::sin(static_cast<double>(j) * delta);
    w[j] = x;
    w[j + 1] = y;
    w[T - j] = y;
    w[T - j + 1] = x;
  }
  BitReversePairs(T, work + 2, w);
}

void MakeCosineTable(int K, int* work, double* c) {
  work[1] = K;
  if (K <= 1) return;
  const int h = K / 2;
  const double delta = std::atan(1.0) / static_cast<double>(h);
  c[0] = std::cos(static_cast<double>(h) * delta);
  c[h] = 0.5 * c[0];
  for (int j = 1; j < h; ++j) {
    c[j] = 0.5 * std::cos(static_cast<double>(j) * delta);
    c[K - j] = 0.5 * std::sin(static_cast<double>(j) * delta);
  }
}

using PathTransform = void (*)(int n, int direction, double* data, int* work,
                           const double* table, int T, int K);

PathTransform TransformOf(tonvela::fft::Path path) {
#if defined(TONVELA_FFT_X86_64_V3)
  if (path == tonvela::fft::Path::kX86_64V3) return tonvela::fft::TransformX86_64V3;
#else
  (void)path;
#endif
  return TransformWithTables;
}

// Builds the tables for n when the ones in work/table are too short, then
// transforms.
void RealFftWith(PathTransform transform, int n, int direction, double* data, int* work,
                 double* table) {
  int T = work[0];
  if (n > 4 * T) {
    T = n / 4;
    MakeTwiddleTable(T, work, table);
  }
  int K = work[1];
  if (n > 4 * K) {
    K = n / 4;
    MakeCosineTable(K, work, table + T);
  }
  transform(n, direction, data, work, table, T, K);
}

}  // namespace

namespace tonvela::fft {

const char* PathName(Path path) {
  return path == Path::kX86_64V3 ? "x86-64-v3" : "baseline";
}

bool PathAvailable(Path path) {
  if (path == Path::kBaseline) return true;
#if defined(TONVELA_FFT_X86_64_V3)
  __builtin_cpu_init();
#if defined(__clang__)
  return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma") &&
         __builtin_cpu_supports("bmi") && __builtin_cpu_supports("bmi2") &&
         __builtin_cpu_supports("f16c");
#else
  return __builtin_cpu_supports("x86-64-v3");
#endif
#else
  return false;
#endif
}

Path ChosenPath() {
  static const Path chosen =
      PathAvailable(Path::kX86_64V3) ? Path::kX86_64V3 : Path::kBaseline;
  return chosen;
}

void RealFftOnPath(Path path, int n, int direction, double* data, int* work,
                   double* table) {
  RealFftWith(TransformOf(path), n, direction, data, work, table);
}

}  // namespace tonvela::fft

void RealFft(int n, int direction, double* data, int* work, double* table) {
  static const PathTransform transform = TransformOf(tonvela::fft::ChosenPath());
  RealFftWith(transform, n, direction, data, work, table);
}

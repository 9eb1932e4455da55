// RealFft against FFTW3 and KissFFT, forward and backward, for n = 128 (the
// spectrum panel's length) up to 2^20, with an odd and an even power of two
// at each scale (their last butterfly stages differ).
//
// - RealFft: the path it takes on this CPU; RealFft-baseline: the path every
//   x86-64 CPU runs, when that is another one.
// - FFTW3: double precision, out-of-place r2c / c2r plans made once per size
//   with FFTW_MEASURE, outside the timed loop.
// - KissFFT: kiss_fftr / kiss_fftri. Debian packages only its float build, so
//   KissFFT works in single precision here (half the memory traffic).
// - Every iteration first copies fresh input into the transform's input buffer
//   (RealFft works in place, and FFTW's c2r destroys its input), then runs one
//   transform; the same copy is done for all three. Copy/<n> times the copy
//   alone.
//
// The benchmarks are registered size by size so that a run lists the
// libraries side by side.
#include <benchmark/benchmark.h>
#include <fftw3.h>
#include <kiss_fftr.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "dsp/real_fft.h"
#include "dsp/real_fft_paths.h"

namespace {

std::vector<double> RandomValues(int n) {
  std::mt19937_64 rng(n);
  std::uniform_real_distribution<double> uniform(-1.0, 1.0);
  std::vector<double> v(n);
  for (double& x : v) x = uniform(rng);
  return v;
}

// Work and table arrays with the tables built for n.
struct RealFftArrays {
  explicit RealFftArrays(int n) : work(2 + n, 0), table(n / 2 + 2) {
    std::vector<double> warm(n, 0.0);
    RealFft(n, 1, warm.data(), work.data(), table.data());
  }
  std::vector<int> work;
  std::vector<double> table;
};

void RealFftBench(benchmark::State& state, int n, int direction) {
  RealFftArrays arrays(n);
  const std::vector<double> input = RandomValues(n);
  std::vector<double> data(n);
  for (auto _ : state) {
    std::copy(input.begin(), input.end(), data.begin());
    RealFft(n, direction, data.data(), arrays.work.data(), arrays.table.data());
    benchmark::DoNotOptimize(data.data());
    benchmark::ClobberMemory();
  }
}

void RealFftBaselineBench(benchmark::State& state, int n, int direction) {
  using tonvela::fft::Path;
  RealFftArrays arrays(n);
  const std::vector<double> input = RandomValues(n);
  std::vector<double> data(n);
  for (auto _ : state) {
    std::copy(input.begin(), input.end(), data.begin());
    tonvela::fft::RealFftOnPath(Path::kBaseline, n, direction, data.data(),
                                arrays.work.data(), arrays.table.data());
    benchmark::DoNotOptimize(data.data());
    benchmark::ClobberMemory();
  }
}

void FftwForward(benchmark::State& state, int n) {
  double* in = fftw_alloc_real(n);
  fftw_complex* out = fftw_alloc_complex(n / 2 + 1);
  fftw_plan plan = fftw_plan_dft_r2c_1d(n, in, out, FFTW_MEASURE);
  const std::vector<double> input = RandomValues(n);
  for (auto _ : state) {
    std::copy(input.begin(), input.end(), in);
    fftw_execute(plan);
    benchmark::DoNotOptimize(out);
    benchmark::ClobberMemory();
  }
  fftw_destroy_plan(plan);
  fftw_free(in);
  fftw_free(out);
}

void FftwBackward(benchmark::State& state, int n) {
  fftw_complex* in = fftw_alloc_complex(n / 2 + 1);
  double* out = fftw_alloc_real(n);
  fftw_plan plan = fftw_plan_dft_c2r_1d(n, in, out, FFTW_MEASURE);
  std::vector<double> input = RandomValues(n + 2);
  input[1] = input[n + 1] = 0;  // DC and Nyquist are real
  double* inDoubles = reinterpret_cast<double*>(in);
  for (auto _ : state) {
    std::copy(input.begin(), input.end(), inDoubles);
    fftw_execute(plan);
    benchmark::DoNotOptimize(out);
    benchmark::ClobberMemory();
  }
  fftw_destroy_plan(plan);
  fftw_free(in);
  fftw_free(out);
}

void KissForward(benchmark::State& state, int n) {
  kiss_fftr_cfg cfg = kiss_fftr_alloc(n, 0, nullptr, nullptr);
  const std::vector<double> values = RandomValues(n);
  const std::vector<float> input(values.begin(), values.end());
  std::vector<float> in(n);
  std::vector<kiss_fft_cpx> out(n / 2 + 1);
  for (auto _ : state) {
    std::copy(input.begin(), input.end(), in.begin());
    kiss_fftr(cfg, in.data(), out.data());
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  kiss_fftr_free(cfg);
}

void KissBackward(benchmark::State& state, int n) {
  kiss_fftr_cfg cfg = kiss_fftr_alloc(n, 1, nullptr, nullptr);
  const std::vector<double> values = RandomValues(n + 2);
  std::vector<kiss_fft_cpx> input(n / 2 + 1);
  for (int k = 0; k <= n / 2; ++k) {
    input[k].r = static_cast<float>(values[2 * k]);
    input[k].i = (k == 0 || k == n / 2) ? 0.0f : static_cast<float>(values[2 * k + 1]);
  }
  std::vector<kiss_fft_cpx> in(n / 2 + 1);
  std::vector<float> out(n);
  for (auto _ : state) {
    std::copy(input.begin(), input.end(), in.begin());
    kiss_fftri(cfg, in.data(), out.data());
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  kiss_fftr_free(cfg);
}

void CopyOnly(benchmark::State& state, int n) {
  const std::vector<double> input = RandomValues(n);
  std::vector<double> data(n);
  for (auto _ : state) {
    std::copy(input.begin(), input.end(), data.begin());
    benchmark::DoNotOptimize(data.data());
    benchmark::ClobberMemory();
  }
}

}  // namespace

int main(int argc, char** argv) {
  const bool baselineDiffers = tonvela::fft::ChosenPath() != tonvela::fft::Path::kBaseline;
  for (int n : {128, 256, 1024, 2048, 16384, 32768, 262144, 524288, 1 << 20}) {
    const std::string size = "/" + std::to_string(n);
    benchmark::RegisterBenchmark(("Forward/RealFft" + size).c_str(), RealFftBench, n, 1);
    benchmark::RegisterBenchmark(("Forward/FFTW" + size).c_str(), FftwForward, n);
    benchmark::RegisterBenchmark(("Forward/KissFFT" + size).c_str(), KissForward, n);
    if (baselineDiffers)
      benchmark::RegisterBenchmark(("Forward/RealFft-baseline" + size).c_str(),
                                   RealFftBaselineBench, n, 1);
    benchmark::RegisterBenchmark(("Backward/RealFft" + size).c_str(), RealFftBench, n, -1);
    benchmark::RegisterBenchmark(("Backward/FFTW" + size).c_str(), FftwBackward, n);
    benchmark::RegisterBenchmark(("Backward/KissFFT" + size).c_str(), KissBackward, n);
    if (baselineDiffers)
      benchmark::RegisterBenchmark(("Backward/RealFft-baseline" + size).c_str(),
                                   RealFftBaselineBench, n, -1);
    benchmark::RegisterBenchmark(("Copy" + size).c_str(), CopyOnly, n);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

// Cost of filling one 125 ms playback buffer, next to the cost of the 20,000 sines it
// evaluates on their own. Both run in the same process, one after the other, so their
// ratio holds on any machine; the buffer's time against 125 ms is the share of the
// real-time budget.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "app/tone_state.h"
#include "sound/tone_generator.h"

namespace {

// The sawtooth at 440 Hz: every harmonic non-zero, a typical load.
void SetSawtooth(double amplitudes[10]) {
  const double h = 0.5;
  const double values[10] = {h, h * 0.5, h / 3, h * 0.25, h / 5, h / 6, h / 7, h * 0.125, h / 9, h * 0.1};
  for (int i = 0; i < 10; ++i) amplitudes[i] = values[i];
}

void BM_FillPlaybackBuffer(benchmark::State& state) {
  double amplitudes[10];
  SetSawtooth(amplitudes);
  std::vector<char> block(kPlaybackBytes);
  WAVEHDR header{block.data(), kPlaybackBytes, 0, 0, 0, 1, nullptr, 0};
  g_phase = 0.0;
  for (auto _ : state) {
    FillPlaybackBuffer(&header, amplitudes, 440.0f);
    benchmark::DoNotOptimize(block.data());
    benchmark::ClobberMemory();
  }
  state.counters["budget_fraction"] = benchmark::Counter(
      0.125, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The same 2000 x 10 sine arguments, summed so that none can be dropped.
void BM_BareSines(benchmark::State& state) {
  const double step = 440.0 * kPhaseStepPerHz;
  double phase = 0.0;
  for (auto _ : state) {
    double sum = 0.0;
    for (int i = 0; i < kPlaybackSamples; ++i) {
      for (int k = 1; k <= 10; ++k) sum += std::sin(phase * static_cast<double>(k));
      phase += step;
      if (phase > kPhaseWrap) phase -= kPhaseWrap;
    }
    benchmark::DoNotOptimize(sum);
  }
}

}  // namespace

BENCHMARK(BM_BareSines)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FillPlaybackBuffer)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();

// The cost of one paint: panels, ten harmonic traces, the composite trace, the analysis
// frame, the 128-point transform and the spectrum curve, drawn into the dialog's raster.
#include <benchmark/benchmark.h>

#include "app/main_dialog.h"
#include "app/sliders.h"
#include "app/tone_state.h"
#include "display/waveform_panels.h"
#include "platform/core/window_manager.h"

namespace {

HWND OpenDialog() {
  static HWND dialog = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(kMainDialogResourceId),
                                          nullptr, MainDialogProc, 0);
  return dialog;
}

void SetTone(bool silent) {
  for (int k = 0; k < kHarmonicCount; ++k) g_amplitude[k] = silent ? 0.0 : 1.0 / (k + 1);
  g_frequencyHz = 440.0f;
}

// OnPaint alone: the client area is not erased first.
void BM_OnPaint(benchmark::State& state) {
  HWND dialog = OpenDialog();
  SetTone(state.range(0) == 0);
  for (auto _ : state) {
    OnPaint(dialog);
    benchmark::DoNotOptimize(g_compositeTrace[0]);
  }
}
BENCHMARK(BM_OnPaint)->ArgName("tone")->Arg(0)->Arg(1);

// What a slider move costs on screen: invalidate with erase, then the paint.
void BM_RefreshPanels(benchmark::State& state) {
  HWND dialog = OpenDialog();
  SetTone(state.range(0) == 0);
  for (auto _ : state) {
    RefreshPanels(dialog);
    benchmark::DoNotOptimize(g_compositeTrace[0]);
  }
}
BENCHMARK(BM_RefreshPanels)->ArgName("tone")->Arg(0)->Arg(1);

}  // namespace

BENCHMARK_MAIN();

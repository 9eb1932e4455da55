#include "display/spectrum_panel.h"

#include <cmath>

#include "app/int_conversion.h"
#include "app/tone_state.h"
#include "display/waveform_panels.h"
#include "dsp/real_fft.h"
#include "sound/tone_generator.h"

double g_window[kAnalysisFrameSize];
double g_fftData[kAnalysisFrameSize];
// Larger than the 128-point transform needs (6 ints, 64 doubles): the sizes the program
// has always reserved, kept so that its tables stay where they always were.
int g_fftIp[18];
double g_fftW[512];

namespace {

constexpr int kDrawnBins = 64;

// 10 log10 of the bin's power over 128^2; a silent bin gives -infinity.
double LevelOf(double power) { return 10.0 * std::log10((power * (1.0 / 128)) * (1.0 / 128)); }

// One pixel per dB for H = 100, 0 dB on the panel's top edge, rounded toward zero.
// Levels far below the panel (-infinity for a silent bin, or NaN, which only an
// unbounded volume produces) are held a million rows down: the curve drops out of
// sight instead of converting an infinite value to int.
int LevelRow(double level) {
  constexpr double kFarOffset = 1000000.0;
  double offset = ((g_panelHeight * 0.5) * level) / 50;
  if (std::isnan(offset) || offset < -kFarOffset) offset = -kFarOffset;
  if (offset > kFarOffset) offset = kFarOffset;
  return 470 - TruncateToInt(offset);
}

int BinColumn(int k) { return 300 + (g_panelWidth * k) / 64; }

}  // namespace

void InitSpectrumAnalysis() {
  g_fftIp[0] = 0;
  for (int i = 0; i < kAnalysisFrameSize; ++i) {
    g_window[i] = (1.0 - std::cos((i * 6.283185307) * (1.0 / 256))) * 0.5;
  }
}

void DrawSpectrum(HDC hdc) {
  FillAnalysisFrame(g_fftData, g_amplitude, g_frequencyHz, g_window);
  RealFft(kAnalysisFrameSize, 1, g_fftData, g_fftIp, g_fftW);

  // Levels in place: element k is written only after elements 2k and 2k + 1 were read.
  const double sum = g_fftData[0];
  g_fftData[0] = LevelOf(sum * sum);
  for (int k = 1; k < kDrawnBins; ++k) {
    const double re = g_fftData[2 * k];
    const double im = g_fftData[2 * k + 1];
    g_fftData[k] = LevelOf(im * im + re * re);
  }

  MoveToEx(hdc, 300, LevelRow(g_fftData[0]), nullptr);
  for (int k = 0; k < kDrawnBins; ++k) LineTo(hdc, BinColumn(k), LevelRow(g_fftData[k]));
}

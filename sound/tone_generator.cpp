#include "sound/tone_generator.h"

#include <cmath>

#include "app/int_conversion.h"
#include "app/tone_state.h"

double CompositeSample(double phase, const double amplitudes[10]) {
  double sum = amplitudes[0] * std::sin(phase) + amplitudes[1] * std::sin(phase * 2.0);
  for (int k = 3; k <= 10; ++k) {
    sum = sum + amplitudes[k - 1] * std::sin(phase * static_cast<double>(k));
  }
  return sum;
}

void FillPlaybackBuffer(WAVEHDR* header, const double amplitudes[10], float frequency) {
  const double step = static_cast<double>(frequency) * kPhaseStepPerHz;
  double phase = g_phase;
  auto* bytes = reinterpret_cast<unsigned char*>(header->lpData);
  for (int i = 0; i < kPlaybackSamples; ++i) {
    const double sum = CompositeSample(phase, amplitudes);
    phase = phase + step;
    const int t = TruncateToInt(sum * 32767.0);
    bytes[2 * i] = 0;
    // Bits 8..15 of t in two's complement.
    bytes[2 * i + 1] = static_cast<unsigned char>((static_cast<unsigned int>(t) >> 8) & 0xFFu);
    if (phase > kPhaseWrap) phase = phase - kPhaseWrap;
    g_phase = phase;
  }
}

void FillAnalysisFrame(double frame[128], const double amplitudes[10], float frequency,
                       const double weights[128]) {
  const double step = static_cast<double>(frequency) * kPhaseStepPerHz;
  double phase = g_phase;
  for (int i = 0; i < kAnalysisSamples; ++i) {
    double sum = CompositeSample(phase, amplitudes);
    if (sum > 1.0) sum = 1.0;
    if (sum < -1.0) sum = -1.0;
    frame[i] = weights[i] * sum;
    phase = phase + step;
    if (phase > kPhaseWrap) phase = phase - kPhaseWrap;
    g_phase = phase;
  }
}

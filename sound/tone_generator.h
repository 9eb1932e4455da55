// Samples of the composite tone: harmonics 1..10 of the fundamental, summed in double.
// Both fills read and advance the shared phase g_phase, so playback and analysis are one
// continuous walk through the waveform.
#pragma once

#include "platform/win32_api.h"

inline constexpr double kPhaseStepPerHz = 0.0003926990816875;  // 6.283185307 / 16000
inline constexpr double kPhaseWrap = 6.283185307;
inline constexpr int kPlaybackSamples = 2000;  // 4000 bytes, 125 ms at 16 kHz
inline constexpr int kPlaybackBytes = 2 * kPlaybackSamples;
inline constexpr int kAnalysisSamples = 128;

// sum over k = 1..10 of amplitudes[k-1] * sin(k * phase), added in that order.
double CompositeSample(double phase, const double amplitudes[10]);

// Writes 2000 samples of 16-bit little-endian PCM into header->lpData: the low byte of
// every sample is 0, the high byte bits 8..15 of trunc(sum * 32767) (no clamping, so a
// sum beyond +-1 wraps around). Advances g_phase by 2000 steps of frequency * step.
void FillPlaybackBuffer(WAVEHDR* header, const double amplitudes[10], float frequency);

// Writes 128 samples, each the sum clamped to -1..+1 times weights[i]. Advances g_phase
// by 128 steps.
void FillAnalysisFrame(double frame[128], const double amplitudes[10], float frequency,
                       const double weights[128]);

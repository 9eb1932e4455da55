// The tone being played and shown, and the eleven sliders that set it.
// Slider index 0 is the fundamental frequency, k = 1..10 the amplitude of harmonic k.
#pragma once

#include "app/resource.h"
#include "platform/win32_api.h"

inline constexpr int kHarmonicCount = 10;
inline constexpr int kSliderCount = 11;
inline constexpr int kFrequencyLabelId = IDC_FREQUENCY_LABEL;

// Linear amplitude of harmonic i+1 (index 0 = fundamental); 1.0 alone reaches full scale.
extern double g_amplitude[kHarmonicCount];
// Level at which presets build their spectra, and the factor of the volume buttons.
extern double g_masterGain;
// Fundamental frequency in Hz; always g_sliderPos[0] as float.
extern float g_frequencyHz;
// Phase of the fundamental in radians, 0 to 6.283185307; walked by every sample fill.
extern double g_phase;
// 1 while playback that a preset started keeps refilling its buffers.
extern BYTE g_streaming;

extern const int g_sliderIds[kSliderCount];
extern const int g_sliderMin[kSliderCount];
extern const int g_sliderMax[kSliderCount];
// The program's own record of each slider position: [0] in Hz, [1..10] in hundredths.
extern int g_sliderPos[kSliderCount];
// Amplitude label of harmonic k is g_labelIds[k - 1].
extern const int g_labelIds[kHarmonicCount];

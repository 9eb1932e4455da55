#include "app/buttons.h"

#include "app/resource.h"
#include "app/sliders.h"
#include "app/tone_state.h"
#include "sound/wave_stream.h"

namespace {

constexpr int kVolumeDownId = IDC_VOLUME_DOWN;
constexpr int kVolumeUpId = IDC_VOLUME_UP;
constexpr int kSquareId = IDC_SQUARE;
constexpr int kSawtoothId = IDC_SAWTOOTH;
constexpr int kTriangleId = IDC_TRIANGLE;
constexpr int kRepeatedPulseId = IDC_REPEATED_PULSE;
constexpr int kSineId = IDC_SINE;
constexpr int kFemaleVowelAId = IDC_FEMALE_VOWEL_A;
constexpr int kClearId = IDC_CLEAR;

constexpr double kVolumeDownFactor = 0.794;
// The double nearest 1 / 0.794, so that one step up undoes one step down exactly.
constexpr double kVolumeUpFactor = 1.2594458438287153;

void SetPresetAmplitudes(int id) {
  const double g = g_masterGain;
  const double h = g * 0.5;
  const double u = g * 0.25;
  double* a = g_amplitude;
  switch (id) {
    case kSquareId:
      a[0] = g; a[1] = 0; a[2] = g / 3; a[3] = 0; a[4] = g / 5;
      a[5] = 0; a[6] = g / 7; a[7] = 0; a[8] = g / 9; a[9] = 0;
      break;
    case kSawtoothId:
      a[0] = h; a[1] = h * 0.5; a[2] = h / 3; a[3] = h * 0.25; a[4] = h / 5;
      a[5] = h / 6; a[6] = h / 7; a[7] = h * 0.125; a[8] = h / 9; a[9] = h * 0.1;
      break;
    case kTriangleId:
      a[0] = g; a[1] = 0; a[2] = g / 9; a[3] = 0; a[4] = g / 25;
      a[5] = 0; a[6] = g / 49; a[7] = 0; a[8] = g / 81; a[9] = 0;
      break;
    case kRepeatedPulseId:
      for (int i = 0; i < kHarmonicCount; ++i) a[i] = 0.1 * g;
      break;
    case kSineId:
      a[0] = g;
      for (int i = 1; i < kHarmonicCount; ++i) a[i] = 0;
      break;
    case kFemaleVowelAId:
      // The tenth harmonic is h * 0.032 (u * 0.064) among the u terms: the vowel's
      // table as the program has always played it, not a typo for u * 0.032.
      a[0] = u * 0.237; a[1] = u * 0.4; a[2] = u; a[3] = u * 0.503; a[4] = u * 0.391;
      a[5] = u; a[6] = u * 0.397; a[7] = u * 0.163; a[8] = u * 0.07; a[9] = h * 0.032;
      break;
    default:
      break;
  }
}

void StepVolume(HWND dialog, int id) {
  // 0.9 tells a gain that the other button left (0.794 and below, or 1.259 and above)
  // from the neutral 1.0: pressing the other button starts again with one step.
  if (id == kVolumeDownId) {
    if (g_masterGain > 0.9) g_masterGain = 1.0;
    g_masterGain = g_masterGain * kVolumeDownFactor;
  } else {
    if (g_masterGain < 0.9) g_masterGain = 1.0;
    g_masterGain = g_masterGain * kVolumeUpFactor;
  }
  for (int i = 0; i < kHarmonicCount; ++i) g_amplitude[i] = g_amplitude[i] * g_masterGain;
  UpdateHarmonicControls(dialog);
  RefreshPanels(dialog);
}

void ApplyPreset(HWND dialog, int id) {
  SetPresetAmplitudes(id);
  UpdateHarmonicControls(dialog);
  g_frequencyHz = id == kFemaleVowelAId ? 286.0f : 440.0f;
  g_sliderPos[0] = id == kFemaleVowelAId ? 286 : 440;
  UpdateFrequencyControls(dialog);
  RefreshPanels(dialog);
  StartPlayback(dialog);
}

void Clear(HWND dialog) {
  g_masterGain = 1.0;
  for (int i = 0; i < kHarmonicCount; ++i) g_amplitude[i] = 0.0;
  UpdateHarmonicControls(dialog);
  RefreshPanels(dialog);
  StopPlayback();
}

}  // namespace

void OnCommand(HWND dialog, WPARAM wParam) {
  const int id = LOWORD(wParam);
  switch (id) {
    case kVolumeDownId:
    case kVolumeUpId:
      StepVolume(dialog, id);
      break;
    case kSquareId:
    case kSawtoothId:
    case kTriangleId:
    case kRepeatedPulseId:
    case kSineId:
    case kFemaleVowelAId:
      ApplyPreset(dialog, id);
      break;
    case kClearId:
      Clear(dialog);
      break;
    default:
      break;
  }
}

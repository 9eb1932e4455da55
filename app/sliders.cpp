#include "app/sliders.h"

#include "app/int_conversion.h"
#include "app/label_text.h"
#include "app/tone_state.h"
#include "display/spectrum_panel.h"

namespace {

void SetAmplitudeLabel(HWND dialog, int harmonic, double amplitude) {
  char text[kLabelBufferSize];
  FormatAmplitudeLabel(text, amplitude);
  SetWindowTextA(GetDlgItem(dialog, g_labelIds[harmonic - 1]), text);
}

void SetFrequencyLabel(HWND dialog, int frequencyHz) {
  char text[kLabelBufferSize];
  FormatFrequencyLabel(text, frequencyHz);
  SetWindowTextA(GetDlgItem(dialog, kFrequencyLabelId), text);
}

}  // namespace

BOOL OnInitDialog(HWND dialog) {
  InitSpectrumAnalysis();
  g_streaming = 0;
  g_frequencyHz = 440.0f;
  g_masterGain = 1.0;
  for (int k = 0; k < kSliderCount; ++k) {
    SetScrollRange(GetDlgItem(dialog, g_sliderIds[k]), SB_CTL, g_sliderMin[k], g_sliderMax[k], TRUE);
  }
  g_sliderPos[0] = TruncateToInt(g_frequencyHz);
  SetScrollPos(GetDlgItem(dialog, g_sliderIds[0]), SB_CTL, g_sliderPos[0], TRUE);
  for (int k = 1; k < kSliderCount; ++k) {
    SetScrollPos(GetDlgItem(dialog, g_sliderIds[k]), SB_CTL, 0, TRUE);
  }
  SetWindowTextA(GetDlgItem(dialog, kFrequencyLabelId), kFrequencyLabelAtStart);
  for (int labelId : g_labelIds) {
    SetWindowTextA(GetDlgItem(dialog, labelId), kAmplitudeLabelAtStart);
  }
  return TRUE;
}

void OnHScroll(HWND dialog, WPARAM wParam, LPARAM lParam) {
  int k = 0;
  while (k < kSliderCount && lParam != reinterpret_cast<LPARAM>(GetDlgItem(dialog, g_sliderIds[k]))) {
    ++k;
  }
  if (k == kSliderCount) return;

  // Wide arithmetic: a record far beyond the range (a huge amplitude gives INT_MIN) must
  // not overflow before it is clamped.
  long long wide = g_sliderPos[k];
  switch (LOWORD(wParam)) {
    case SB_LINELEFT: wide = wide - 1; break;
    case SB_LINERIGHT: wide = wide + 1; break;
    case SB_PAGELEFT: wide = wide - 10; break;
    case SB_PAGERIGHT: wide = wide + 10; break;
    case SB_THUMBTRACK: wide = HIWORD(wParam); break;
    default: break;
  }
  if (wide < g_sliderMin[k]) wide = g_sliderMin[k];
  if (wide > g_sliderMax[k]) wide = g_sliderMax[k];
  const int position = static_cast<int>(wide);
  g_sliderPos[k] = position;
  const HWND slider = reinterpret_cast<HWND>(lParam);
  SetScrollPos(slider, SB_CTL, position, TRUE);

  if (k == 0) {
    g_frequencyHz = static_cast<float>(position);
    SetFrequencyLabel(dialog, position);
  } else {
    const float amplitude = static_cast<float>(position) / static_cast<float>(g_sliderMax[k]);
    g_amplitude[k - 1] = static_cast<double>(amplitude);
    SetAmplitudeLabel(dialog, k, g_amplitude[k - 1]);
  }
  RefreshPanels(dialog);
}

void UpdateHarmonicControls(HWND dialog) {
  for (int k = 1; k < kSliderCount; ++k) {
    const int position = TruncateToInt(static_cast<double>(g_sliderMax[k]) * g_amplitude[k - 1]);
    g_sliderPos[k] = position;
    SetScrollPos(GetDlgItem(dialog, g_sliderIds[k]), SB_CTL, position, TRUE);
    SetAmplitudeLabel(dialog, k, g_amplitude[k - 1]);
  }
}

void UpdateFrequencyControls(HWND dialog) {
  SetScrollPos(GetDlgItem(dialog, g_sliderIds[0]), SB_CTL, g_sliderPos[0], TRUE);
  SetFrequencyLabel(dialog, g_sliderPos[0]);
}

void RefreshPanels(HWND dialog) {
  RECT clientArea;
  GetClientRect(dialog, &clientArea);
  InvalidateRect(dialog, &clientArea, TRUE);
  UpdateWindow(dialog);
}

// Dialog initialisation, the slider handler, and keeping sliders and labels in line
// with the tone state.
#pragma once

#include "platform/win32_api.h"

BOOL OnInitDialog(HWND dialog);
void OnHScroll(HWND dialog, WPARAM wParam, LPARAM lParam);
// Thumbs and labels of the ten amplitude sliders from g_amplitude.
void UpdateHarmonicControls(HWND dialog);
// Frequency thumb and label from g_sliderPos[0].
void UpdateFrequencyControls(HWND dialog);
// Repaints the whole client area before returning.
void RefreshPanels(HWND dialog);

// The painter: three black panels, ten harmonic traces, the composite trace with its
// clipping warning, then the spectrum.
#pragma once

#include "app/resource.h"
#include "platform/win32_api.h"

inline constexpr int kTraceSamples = 128;
inline constexpr int kWarningLabelId = IDC_WARNING_LABEL;

extern int g_panelWidth;   // W, pixels, assigned at the start of every paint
extern int g_panelHeight;  // H, pixels
// Per paint: the single-precision composite trace as drawn (clamped to +-1).
extern float g_compositeTrace[kTraceSamples];

void OnPaint(HWND dialog);

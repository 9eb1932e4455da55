// The spectrum of the running tone in dB, drawn into the third panel.
#pragma once

#include "platform/win32_api.h"

inline constexpr int kAnalysisFrameSize = 128;

extern double g_window[kAnalysisFrameSize];   // analysis weighting table
extern double g_fftData[kAnalysisFrameSize];  // frame, transform, then levels in dB
extern int g_fftIp[18];                       // the transform's work area
extern double g_fftW[512];                    // the transform's tables

void InitSpectrumAnalysis();
// Expects the yellow trace pen selected and the panel size set; leaves the pen selected.
void DrawSpectrum(HDC dc);

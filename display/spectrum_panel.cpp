#include "display/spectrum_panel.h"

double g_window[kAnalysisFrameSize];
double g_fftData[kAnalysisFrameSize];
int g_fftIp[18];
double g_fftW[512];

void InitSpectrumAnalysis() {}
void DrawSpectrum(HDC) {}

#include "app/tone_state.h"

double g_amplitude[kHarmonicCount];
double g_masterGain;
float g_frequencyHz;
double g_phase;
BYTE g_streaming;

const int g_sliderIds[kSliderCount] = {1014, 1018, 1019, 1020, 1021, 1022,
                                       1028, 1029, 1030, 1031, 1032};
const int g_sliderMin[kSliderCount] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
const int g_sliderMax[kSliderCount] = {2000, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100};
int g_sliderPos[kSliderCount];
const int g_labelIds[kHarmonicCount] = {1023, 1024, 1025, 1026, 1027,
                                        1033, 1034, 1035, 1036, 1037};

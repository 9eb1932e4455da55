#include "app/tone_state.h"

double g_amplitude[kHarmonicCount];
double g_masterGain;
float g_frequencyHz;
double g_phase;
BYTE g_streaming;

const int g_sliderIds[kSliderCount] = {
    IDC_FREQUENCY_SLIDER, IDC_HARMONIC1_SLIDER, IDC_HARMONIC2_SLIDER, IDC_HARMONIC3_SLIDER,
    IDC_HARMONIC4_SLIDER, IDC_HARMONIC5_SLIDER, IDC_HARMONIC6_SLIDER, IDC_HARMONIC7_SLIDER,
    IDC_HARMONIC8_SLIDER, IDC_HARMONIC9_SLIDER, IDC_HARMONIC10_SLIDER};
const int g_sliderMin[kSliderCount] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
const int g_sliderMax[kSliderCount] = {2000, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100};
int g_sliderPos[kSliderCount];
const int g_labelIds[kHarmonicCount] = {
    IDC_HARMONIC1_LABEL, IDC_HARMONIC2_LABEL, IDC_HARMONIC3_LABEL, IDC_HARMONIC4_LABEL,
    IDC_HARMONIC5_LABEL, IDC_HARMONIC6_LABEL, IDC_HARMONIC7_LABEL, IDC_HARMONIC8_LABEL,
    IDC_HARMONIC9_LABEL, IDC_HARMONIC10_LABEL};

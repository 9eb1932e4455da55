// The identifiers of the dialog resource and its controls, named once: the template,
// the handlers, the script driver's names and the tests all use these.
#pragma once

inline constexpr int IDD_TONVELA = 101;  // the dialog

inline constexpr int IDC_STATIC = -1;  // a text the program never addresses

inline constexpr int IDC_VOLUME_DOWN = 1003;
inline constexpr int IDC_VOLUME_UP = 1007;
inline constexpr int IDC_SQUARE = 1008;
inline constexpr int IDC_SAWTOOTH = 1009;
inline constexpr int IDC_TRIANGLE = 1010;
inline constexpr int IDC_REPEATED_PULSE = 1011;
inline constexpr int IDC_SINE = 1012;
inline constexpr int IDC_FEMALE_VOWEL_A = 1039;
inline constexpr int IDC_CLEAR = 1040;

inline constexpr int IDC_FREQUENCY_SLIDER = 1014;
inline constexpr int IDC_FREQUENCY_LABEL = 1015;
inline constexpr int IDC_WARNING_LABEL = 1038;

// Amplitude sliders and labels of harmonics 1 to 10. The IDs are not in one run: the
// template places harmonics 6 to 10 after the labels of 1 to 5.
inline constexpr int IDC_HARMONIC1_SLIDER = 1018;
inline constexpr int IDC_HARMONIC2_SLIDER = 1019;
inline constexpr int IDC_HARMONIC3_SLIDER = 1020;
inline constexpr int IDC_HARMONIC4_SLIDER = 1021;
inline constexpr int IDC_HARMONIC5_SLIDER = 1022;
inline constexpr int IDC_HARMONIC6_SLIDER = 1028;
inline constexpr int IDC_HARMONIC7_SLIDER = 1029;
inline constexpr int IDC_HARMONIC8_SLIDER = 1030;
inline constexpr int IDC_HARMONIC9_SLIDER = 1031;
inline constexpr int IDC_HARMONIC10_SLIDER = 1032;
inline constexpr int IDC_HARMONIC1_LABEL = 1023;
inline constexpr int IDC_HARMONIC2_LABEL = 1024;
inline constexpr int IDC_HARMONIC3_LABEL = 1025;
inline constexpr int IDC_HARMONIC4_LABEL = 1026;
inline constexpr int IDC_HARMONIC5_LABEL = 1027;
inline constexpr int IDC_HARMONIC6_LABEL = 1033;
inline constexpr int IDC_HARMONIC7_LABEL = 1034;
inline constexpr int IDC_HARMONIC8_LABEL = 1035;
inline constexpr int IDC_HARMONIC9_LABEL = 1036;
inline constexpr int IDC_HARMONIC10_LABEL = 1037;

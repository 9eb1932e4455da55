// The texts of the frequency and amplitude labels, in code page 932.
#pragma once

inline constexpr int kLabelBufferSize = 256;

// printf into a buffer of kLabelBufferSize bytes. A text that does not fit is cut at the
// last whole character, so that it stays valid code page 932.
void FormatLabel(char (&buffer)[kLabelBufferSize], const char* format, ...)
    __attribute__((format(printf, 2, 3)));

// "振幅=%3.2f パワー=%3.2f  %3.2f [dB]", or the -∞ form for an amplitude of exactly 0.
void FormatAmplitudeLabel(char (&buffer)[kLabelBufferSize], double amplitude);
void FormatFrequencyLabel(char (&buffer)[kLabelBufferSize], int frequencyHz);

// The fixed texts shown before the first slider move.
extern const char kFrequencyLabelAtStart[];
extern const char kAmplitudeLabelAtStart[];

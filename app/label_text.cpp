#include "app/label_text.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>

// The texts below are code page 932 bytes; each comment gives the text as it reads.

// "現在の基本周波数=440 Hz"
const char kFrequencyLabelAtStart[] =
    "\x8C\xBB\x8D\xDD\x82\xCC\x8A\xEE\x96{\x8E\xFC\x94g\x90\x94=440 Hz";
// "振幅=0 パワー=0  -∞[dB]"
const char kAmplitudeLabelAtStart[] = "\x90U\x95\x9D=0 \x83p\x83\x8F\x81[=0  -\x81\x87[dB]";

namespace {

// "現在の基本周波数=%d Hz"
const char kFrequencyFormat[] = "\x8C\xBB\x8D\xDD\x82\xCC\x8A\xEE\x96{\x8E\xFC\x94g\x90\x94=%d Hz";
// "振幅=%3.2f パワー=%3.2f  -∞[dB]"
const char kAmplitudeZeroFormat[] = "\x90U\x95\x9D=%3.2f \x83p\x83\x8F\x81[=%3.2f  -\x81\x87[dB]";
// "振幅=%3.2f パワー=%3.2f  %3.2f [dB]"
const char kAmplitudeLevelFormat[] = "\x90U\x95\x9D=%3.2f \x83p\x83\x8F\x81[=%3.2f  %3.2f [dB]";

bool IsLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Drops a lead byte left without its trail byte at the end of the text.
void TrimPartialCharacter(char* text) {
  std::size_t i = 0;
  while (text[i] != '\0') {
    if (IsLeadByte(static_cast<unsigned char>(text[i]))) {
      if (text[i + 1] == '\0') {
        text[i] = '\0';
        return;
      }
      i += 2;
    } else {
      i += 1;
    }
  }
}

}  // namespace

void FormatLabel(char (&buffer)[kLabelBufferSize], const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const int length = std::vsnprintf(buffer, kLabelBufferSize, format, arguments);
  va_end(arguments);
  if (length < 0) {
    buffer[0] = '\0';
  } else if (length >= kLabelBufferSize) {
    TrimPartialCharacter(buffer);
  }
}

void FormatAmplitudeLabel(char (&buffer)[kLabelBufferSize], double amplitude) {
  const double power = amplitude * amplitude;
  if (amplitude == 0.0) {
    FormatLabel(buffer, kAmplitudeZeroFormat, amplitude, power);
  } else {
    FormatLabel(buffer, kAmplitudeLevelFormat, amplitude, power, 10.0 * std::log10(power));
  }
}

void FormatFrequencyLabel(char (&buffer)[kLabelBufferSize], int frequencyHz) {
  FormatLabel(buffer, kFrequencyFormat, frequencyHz);
}

// A sink that plays on the system's default output in real time through PortAudio,
// pulling samples on PortAudio's callback thread.
#pragma once

#include <memory>

#include "platform/wave/wave_sink.h"

namespace tv {

// Null when PortAudio finds no default output device. Start fails when the device is
// there but cannot be opened at 16000 samples per second, mono, 16-bit.
std::unique_ptr<WaveSink> CreatePortAudioWaveSink();

}  // namespace tv

// A sink that plays on the system's default output in real time through PortAudio,
// pulling samples on PortAudio's callback thread.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/wave/wave_sink.h"

namespace tv {

// How much sound the output device holds ahead of the speaker. The program keeps two
// blocks of 125 ms queued, so the device may hold half a block: a callback thread that
// a busy machine delays by up to about 60 ms still finds samples waiting, and a preset
// is heard well within 100 ms of the click.
inline constexpr double kOutputLatencySeconds = 0.0625;
// Samples per callback: a sixteenth of a block, four callbacks per device buffer.
inline constexpr unsigned long kFramesPerCallback = 125;

// Null when PortAudio cannot be used or finds no default output device, and when
// starting fails later (the device is there but cannot be opened at 16000 samples per
// second, mono, 16-bit), `onFailure` hears why, in the sound library's words.
std::unique_ptr<WaveSink> CreatePortAudioWaveSink(
    std::function<void(const std::string& reason)> onFailure = {});

}  // namespace tv

// The headless backend's simulated output device: audio time passes only when told.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace tv {
class WaveSink;
}

namespace tv::headless {

// The sink of each device that the headless backend opens: the simulated device below.
std::unique_ptr<WaveSink> CreateHeadlessWaveSink();

// The next waveOutOpen fails as it does when there is no usable output device.
void FailNextWaveOpen();

// Plays up to `samples` samples (16 kHz) of audio time and returns how many were played.
// Returns early, right after a queued header has been played and its MM_WOM_DONE posted,
// so that the caller can let the program handle the notification before playing on.
// With no device open, time simply passes.
std::int64_t AdvanceAudio(std::int64_t samples);

// Writes everything a listener hears from now on to a 16 kHz mono 16-bit WAV file:
// every sample of audio time that passes, silence wherever nothing is queued or no device
// is open. With `fadeSamples` the file fades in and out over that many samples. False
// with a message in `error` when the file cannot be created.
bool StartRecording(const std::string& path, std::string* error, std::size_t fadeSamples = 0);
// Completes the WAV file; false with a message when it could not be written.
bool StopRecording(std::string* error);

// Forgets devices, failures and recordings: the state of a fresh process.
void ResetAudio();

}  // namespace tv::headless

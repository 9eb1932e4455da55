// The headless audio clock: plays the open devices' sinks when told, and records what a
// listener would have heard.
#include "platform/headless/headless_audio.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <limits>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/headless/headless_output_registry.h"
#include "platform/wave/simulated_wave_sink.h"
#include "platform/wave/wav_file_writer.h"
#include "platform/wave/wave_device_table.h"

namespace tv::headless {
namespace {

constexpr std::size_t kChunkFrames = 1024;

class AudioClock {
 public:
  static AudioClock& Instance() {
    static AudioClock clock;
    return clock;
  }

  void Attach(SimulatedWaveSink* sink) {
    std::lock_guard lock(mutex_);
    sinks_.push_back(sink);
  }

  void Detach(SimulatedWaveSink* sink) {
    std::lock_guard lock(mutex_);
    std::erase(sinks_, sink);
  }

  void FailNextOpen() {
    std::lock_guard lock(mutex_);
    failNextOpen_ = true;
  }

  bool TakeOpenFailure() {
    std::lock_guard lock(mutex_);
    return std::exchange(failNextOpen_, false);
  }

  std::int64_t Advance(std::int64_t samples) {
    std::lock_guard lock(mutex_);
    std::int64_t played = 0;
    while (played < samples) {
      const auto frames = static_cast<std::size_t>(
          std::min<std::int64_t>(samples - played, static_cast<std::int64_t>(kChunkFrames)));
      const PullResult pulled = PlayChunk(frames);
      recording_.Append(mix_.data(), pulled.frames);
      played += static_cast<std::int64_t>(pulled.frames);
      if (pulled.headerFinished) break;
    }
    return played;
  }

  bool StartRecording(const std::string& path, std::string* error, std::size_t fadeSamples) {
    std::lock_guard lock(mutex_);
    return recording_.Open(path, error, fadeSamples);
  }

  bool StopRecording(std::string* error) {
    std::lock_guard lock(mutex_);
    return recording_.Close(error);
  }

  void Reset() {
    // Devices first: stopping their sinks detaches them from this clock.
    ForgetWaveDevices();
    std::lock_guard lock(mutex_);
    sinks_.clear();
    failNextOpen_ = false;
    std::string ignored;
    recording_.Close(&ignored);
  }

 private:
  // One chunk of every playing sink, mixed into mix_. The first sink decides where a
  // header ends; the others play just as long.
  PullResult PlayChunk(std::size_t frames) {
    std::fill_n(mix_.begin(), frames, std::int16_t{0});
    if (sinks_.empty()) return PullResult{frames, false};
    const PullResult first = sinks_.front()->Play(mix_.data(), frames, true);
    PullResult result = first;
    for (std::size_t i = 1; i < sinks_.size(); ++i) {
      std::array<std::int16_t, kChunkFrames> other{};
      const PullResult pulled = sinks_[i]->Play(other.data(), first.frames, false);
      result.headerFinished = result.headerFinished || pulled.headerFinished;
      for (std::size_t s = 0; s < first.frames; ++s) {
        const int sum = mix_[s] + other[s];
        mix_[s] = static_cast<std::int16_t>(std::clamp(sum, -32768, 32767));
      }
    }
    return result;
  }

  std::mutex mutex_;
  std::vector<SimulatedWaveSink*> sinks_;
  bool failNextOpen_ = false;
  WavFileWriter recording_;
  std::array<std::int16_t, kChunkFrames> mix_{};
};

}  // namespace

void AttachToAudioClock(SimulatedWaveSink* sink) { AudioClock::Instance().Attach(sink); }
void DetachFromAudioClock(SimulatedWaveSink* sink) { AudioClock::Instance().Detach(sink); }
bool TakePendingOpenFailure() { return AudioClock::Instance().TakeOpenFailure(); }

void FailNextWaveOpen() { AudioClock::Instance().FailNextOpen(); }

std::int64_t AdvanceAudio(std::int64_t samples) { return AudioClock::Instance().Advance(samples); }

bool StartRecording(const std::string& path, std::string* error, std::size_t fadeSamples) {
  return AudioClock::Instance().StartRecording(path, error, fadeSamples);
}

bool StopRecording(std::string* error) { return AudioClock::Instance().StopRecording(error); }

void ResetAudio() { AudioClock::Instance().Reset(); }

}  // namespace tv::headless

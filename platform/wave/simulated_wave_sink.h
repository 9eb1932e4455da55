// A sink with no sound card behind it: samples are played only when the caller advances
// its clock, on the caller's thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>

#include "platform/wave/wave_sink.h"

namespace tv {

class SimulatedWaveSink final : public WaveSink {
 public:
  bool Start(WaveSource& source) override;
  void Stop() override;

  // Plays `frames` samples of audio time into `out` (see WaveSource::Pull). Once
  // stopped, or before the start, the time passes in silence.
  PullResult Play(std::int16_t* out, std::size_t frames, bool stopAtHeaderEnd);

 private:
  std::mutex mutex_;
  WaveSource* source_ = nullptr;
};

}  // namespace tv

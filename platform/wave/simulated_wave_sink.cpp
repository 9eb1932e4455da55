#include "platform/wave/simulated_wave_sink.h"

#include <algorithm>

namespace tv {

bool SimulatedWaveSink::Start(WaveSource& source) {
  std::lock_guard lock(mutex_);
  source_ = &source;
  return true;
}

void SimulatedWaveSink::Stop() {
  std::lock_guard lock(mutex_);
  source_ = nullptr;
}

PullResult SimulatedWaveSink::Play(std::int16_t* out, std::size_t frames, bool stopAtHeaderEnd) {
  std::lock_guard lock(mutex_);
  if (source_ == nullptr) {
    std::fill(out, out + frames, std::int16_t{0});
    return PullResult{frames, false};
  }
  return source_->Pull(out, frames, stopAtHeaderEnd);
}

}  // namespace tv

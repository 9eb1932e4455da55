#include "wave_test_support.h"

#include <utility>

namespace tv::testing {

WaveNotifier NotificationLog::Notifier() {
  return [this](UINT message, WPARAM wParam, LPARAM lParam) {
    std::lock_guard lock(mutex_);
    log_.push_back(Notification{message, wParam, lParam});
  };
}

std::vector<Notification> NotificationLog::Take() {
  std::lock_guard lock(mutex_);
  return std::exchange(log_, {});
}

std::vector<Notification> NotificationLog::All() const {
  std::lock_guard lock(mutex_);
  return log_;
}

Notification Done(HWAVEOUT device, const WAVEHDR* header) {
  return Notification{MM_WOM_DONE, reinterpret_cast<WPARAM>(device),
                      reinterpret_cast<LPARAM>(header)};
}
Notification Open(HWAVEOUT device) {
  return Notification{MM_WOM_OPEN, reinterpret_cast<WPARAM>(device), 0};
}
Notification Close(HWAVEOUT device) {
  return Notification{MM_WOM_CLOSE, reinterpret_cast<WPARAM>(device), 0};
}

TestBuffer::TestBuffer(const std::vector<std::int16_t>& samples) {
  Rewrite(samples);
  header.lpData = bytes.data();
  header.dwBufferLength = static_cast<DWORD>(bytes.size());
}

void TestBuffer::Rewrite(const std::vector<std::int16_t>& samples) {
  bytes.resize(samples.size() * 2);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const auto word = static_cast<std::uint16_t>(samples[i]);
    bytes[2 * i] = static_cast<char>(word & 0xFF);
    bytes[2 * i + 1] = static_cast<char>(word >> 8);
  }
}

std::vector<std::int16_t> Play(SimulatedWaveSink& sink, std::size_t frames) {
  std::vector<std::int16_t> out(frames);
  sink.Play(out.data(), frames, false);
  return out;
}

std::vector<std::int16_t> Ramp(std::int16_t first, std::size_t count) {
  std::vector<std::int16_t> samples(count);
  for (std::size_t i = 0; i < count; ++i) samples[i] = static_cast<std::int16_t>(first + i);
  return samples;
}

}  // namespace tv::testing

// Helpers for driving a wave device directly: a notifier that records what it is told,
// and headers over blocks of known samples.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/wave/simulated_wave_sink.h"
#include "platform/wave/wave_device.h"
#include "platform/win32_api.h"

namespace tv::testing {

struct Notification {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool operator==(const Notification&) const = default;
};

// Thread-safe record of a device's notifications.
class NotificationLog {
 public:
  WaveNotifier Notifier();
  std::vector<Notification> Take();
  std::vector<Notification> All() const;

 private:
  mutable std::mutex mutex_;
  std::vector<Notification> log_;
};

Notification Done(HWAVEOUT device, const WAVEHDR* header);
Notification Open(HWAVEOUT device);
Notification Close(HWAVEOUT device);

// A block of 16-bit samples and a header describing it.
struct TestBuffer {
  explicit TestBuffer(const std::vector<std::int16_t>& samples);
  void Rewrite(const std::vector<std::int16_t>& samples);
  std::vector<char> bytes;
  WAVEHDR header{};
};

// A simulated sink that the test keeps a pointer to after the device took ownership.
struct SinkHandle {
  std::unique_ptr<SimulatedWaveSink> owned = std::make_unique<SimulatedWaveSink>();
  SimulatedWaveSink* sink = owned.get();
};

std::vector<std::int16_t> Play(SimulatedWaveSink& sink, std::size_t frames);
std::vector<std::int16_t> Ramp(std::int16_t first, std::size_t count);

}  // namespace tv::testing

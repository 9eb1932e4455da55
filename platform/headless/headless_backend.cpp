#include "platform/headless/headless_backend.h"

#include "platform/core/window_manager.h"
#include "platform/headless/headless_audio.h"
#include "platform/wave/wave_sink.h"

namespace tv::headless {

void HeadlessBackend::PaintEnded(HWND, const Raster&) { ++paintCount_; }

void HeadlessBackend::WaitForEvents() {
  if (idleHandler_) {
    idleHandler_();
    return;
  }
  std::unique_lock lock(mutex_);
  woken_.wait(lock, [this] { return wakeRequested_ || HasQueuedMessages(); });
  wakeRequested_ = false;
}

void HeadlessBackend::WakeUp() {
  {
    std::lock_guard lock(mutex_);
    wakeRequested_ = true;
  }
  woken_.notify_all();
}

void HeadlessBackend::Beep(UINT type) { beeps_.push_back(type); }

std::unique_ptr<WaveSink> HeadlessBackend::CreateWaveSink() { return CreateHeadlessWaveSink(); }

void HeadlessBackend::Reset() {
  idleHandler_ = nullptr;
  dialog_ = nullptr;
  beeps_.clear();
  paintCount_ = 0;
  std::lock_guard lock(mutex_);
  wakeRequested_ = false;
}

HeadlessBackend& Backend() {
  static HeadlessBackend backend;
  return backend;
}

}  // namespace tv::headless

tv::Backend& tv::CurrentBackend() { return headless::Backend(); }

// The headless backend: no display, a raster per dialog, and input that tests and the
// script driver inject. It records what a user would have seen and heard (beeps,
// paints) and is deterministic: nothing happens unless the caller makes it happen.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/core/backend.h"

namespace tv::headless {

// Light grey, the erase colour of the headless client area.
inline constexpr Rgb kBackgroundColour = MakeRgb(0xF0, 0xF0, 0xF0);

class HeadlessBackend final : public Backend {
 public:
  void DialogCreated(HWND dialog) override { dialog_ = dialog; }
  void ControlChanged(HWND) override {}
  void DialogChanged(HWND) override {}
  void DialogDestroyed(HWND dialog) override {
    if (dialog_ == dialog) dialog_ = nullptr;
  }
  void PaintEnded(HWND window, const Raster& surface) override;
  Rgb BackgroundColour() const override { return kBackgroundColour; }
  void WaitForEvents() override;
  void WakeUp() override;
  void Beep(UINT type) override;
  std::unique_ptr<WaveSink> CreateWaveSink() override;

  // Called from GetMessageA whenever the program has nothing to do: the place where
  // the next user action happens. It must queue input or post a message; with no idle
  // handler the backend waits for another thread to post.
  void SetIdleHandler(std::function<void()> handler) { idleHandler_ = std::move(handler); }

  // The dialog most recently created and not yet destroyed; null if none.
  HWND Dialog() const { return dialog_; }
  const std::vector<UINT>& Beeps() const { return beeps_; }
  int PaintCount() const { return paintCount_; }
  void Reset();

 private:
  std::function<void()> idleHandler_;
  HWND dialog_ = nullptr;
  std::vector<UINT> beeps_;
  int paintCount_ = 0;
  std::mutex mutex_;
  std::condition_variable woken_;
  bool wakeRequested_ = false;
};

HeadlessBackend& Backend();

}  // namespace tv::headless

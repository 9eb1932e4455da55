// The sink of the headless backend's devices: a simulated sink that plays while the
// audio clock is advanced.
#include "platform/headless/headless_audio.h"
#include "platform/headless/headless_output_registry.h"
#include "platform/wave/simulated_wave_sink.h"

namespace tv::headless {
namespace {

class HeadlessWaveSink final : public WaveSink {
 public:
  ~HeadlessWaveSink() override { Stop(); }

  bool Start(WaveSource& source) override {
    simulated_.Start(source);
    if (!attached_) AttachToAudioClock(&simulated_);
    attached_ = true;
    return true;
  }

  void Stop() override {
    if (attached_) DetachFromAudioClock(&simulated_);
    attached_ = false;
    simulated_.Stop();
  }

 private:
  SimulatedWaveSink simulated_;
  bool attached_ = false;
};

}  // namespace

std::unique_ptr<WaveSink> CreateHeadlessWaveSink() {
  if (TakePendingOpenFailure()) return nullptr;
  return std::make_unique<HeadlessWaveSink>();
}

}  // namespace tv::headless

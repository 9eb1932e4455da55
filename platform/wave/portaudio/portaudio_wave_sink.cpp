#include "platform/wave/portaudio/portaudio_wave_sink.h"

#include <portaudio.h>

#include <cstdint>

#include "platform/wave/portaudio/portaudio_library.h"

namespace tv {
namespace {

class PortAudioWaveSink final : public WaveSink {
 public:
  explicit PortAudioWaveSink(std::unique_ptr<PortAudioLibrary> library, PaDeviceIndex device)
      : library_(std::move(library)), device_(device) {}
  ~PortAudioWaveSink() override { Stop(); }

  bool Start(WaveSource& source) override {
    Stop();
    source_ = &source;
    PaStreamParameters output{};
    output.device = device_;
    output.channelCount = 1;
    output.sampleFormat = paInt16;
    output.suggestedLatency = Pa_GetDeviceInfo(device_)->defaultLowOutputLatency;
    if (Pa_OpenStream(&stream_, nullptr, &output, 16000.0, paFramesPerBufferUnspecified,
                      paNoFlag, &PortAudioWaveSink::Callback, this) != paNoError) {
      stream_ = nullptr;
      return false;
    }
    if (Pa_StartStream(stream_) != paNoError) {
      Pa_CloseStream(stream_);
      stream_ = nullptr;
      return false;
    }
    return true;
  }

  void Stop() override {
    if (stream_ == nullptr) return;
    // Waits for a running callback to return; none runs afterwards.
    Pa_StopStream(stream_);
    Pa_CloseStream(stream_);
    stream_ = nullptr;
  }

 private:
  static int Callback(const void*, void* output, unsigned long frames,
                      const PaStreamCallbackTimeInfo*, PaStreamCallbackFlags, void* self) {
    auto* sink = static_cast<PortAudioWaveSink*>(self);
    sink->source_->Pull(static_cast<std::int16_t*>(output), frames, false);
    return paContinue;
  }

  std::unique_ptr<PortAudioLibrary> library_;
  PaDeviceIndex device_;
  PaStream* stream_ = nullptr;
  WaveSource* source_ = nullptr;
};

}  // namespace

std::unique_ptr<WaveSink> CreatePortAudioWaveSink() {
  auto library = std::make_unique<PortAudioLibrary>();
  if (!library->IsReady()) return nullptr;
  const PaDeviceIndex device = Pa_GetDefaultOutputDevice();
  if (device == paNoDevice || Pa_GetDeviceInfo(device) == nullptr) return nullptr;
  return std::make_unique<PortAudioWaveSink>(std::move(library), device);
}

}  // namespace tv

#include "platform/wave/portaudio/portaudio_wave_sink.h"

#include <pa_linux_alsa.h>
#include <portaudio.h>

#include <cstdint>

#include "platform/wave/portaudio/portaudio_library.h"

namespace tv {
namespace {

class PortAudioWaveSink final : public WaveSink {
 public:
  PortAudioWaveSink(std::shared_ptr<PortAudioLibrary> library, PaDeviceIndex device,
                    std::function<void(const std::string&)> onFailure)
      : library_(std::move(library)), device_(device), onFailure_(std::move(onFailure)) {}
  ~PortAudioWaveSink() override { Stop(); }

  bool Start(WaveSource& source) override {
    Stop();
    source_ = &source;
    PaStreamParameters output{};
    output.device = device_;
    output.channelCount = 1;
    output.sampleFormat = paInt16;
    output.suggestedLatency = kOutputLatencySeconds;
    PaError error = Pa_OpenStream(&stream_, nullptr, &output, 16000.0, kFramesPerCallback,
                                  paNoFlag, &PortAudioWaveSink::Callback, this);
    if (error != paNoError) {
      stream_ = nullptr;
      return Failed(error);
    }
    // Real-time scheduling for the callback thread where the system grants it; the
    // device's buffer is sized to do without it.
    const PaHostApiInfo* host = Pa_GetHostApiInfo(Pa_GetDeviceInfo(device_)->hostApi);
    if (host != nullptr && host->type == paALSA) PaAlsa_EnableRealtimeScheduling(stream_, 1);
    error = Pa_StartStream(stream_);
    if (error != paNoError) {
      Pa_CloseStream(stream_);
      stream_ = nullptr;
      return Failed(error);
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
  bool Failed(PaError error) {
    if (onFailure_) onFailure_(Pa_GetErrorText(error));
    return false;
  }

  // On PortAudio's thread: only the pull, which copies queued samples under the device's
  // short lock and posts MM_WOM_DONE for a header played to its end; no logging, no
  // waiting for the GUI thread.
  static int Callback(const void*, void* output, unsigned long frames,
                      const PaStreamCallbackTimeInfo*, PaStreamCallbackFlags, void* self) {
    auto* sink = static_cast<PortAudioWaveSink*>(self);
    sink->source_->Pull(static_cast<std::int16_t*>(output), frames, false);
    return paContinue;
  }

  std::shared_ptr<PortAudioLibrary> library_;
  PaDeviceIndex device_;
  std::function<void(const std::string&)> onFailure_;
  PaStream* stream_ = nullptr;
  WaveSource* source_ = nullptr;
};

}  // namespace

std::unique_ptr<WaveSink> CreatePortAudioWaveSink(std::function<void(const std::string&)> onFailure) {
  std::string error;
  auto library = PortAudioLibrary::Acquire(&error);
  if (!library) {
    if (onFailure) onFailure(error);
    return nullptr;
  }
  const PaDeviceIndex device = Pa_GetDefaultOutputDevice();
  if (device == paNoDevice || Pa_GetDeviceInfo(device) == nullptr) {
    if (onFailure) onFailure("no default output device");
    return nullptr;
  }
  return std::make_unique<PortAudioWaveSink>(std::move(library), device, std::move(onFailure));
}

}  // namespace tv

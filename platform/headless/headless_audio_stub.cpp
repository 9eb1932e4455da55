// Placeholder until the simulated device lands.
#include "platform/headless/headless_audio.h"
#include "platform/wave/wave_sink.h"

namespace tv::headless {
std::unique_ptr<WaveSink> CreateHeadlessWaveSink() { return nullptr; }
void FailNextWaveOpen() {}
std::int64_t AdvanceAudio(std::int64_t samples) { return samples; }
bool StartRecording(const std::string&, std::string* error) {
  if (error) *error = "recording is not available";
  return false;
}
bool StopRecording(std::string*) { return true; }
void ResetAudio() {}
}  // namespace tv::headless

#include <atomic>
#include <cstdio>

#include "platform/qt/desktop_wave_sink.h"
#include "platform/wave/portaudio/portaudio_wave_sink.h"

namespace tv::qt {
namespace {

// The program's only sign of a failed open is a beep; the user also learns why, once.
void ReportNoOutputOnce(const std::string& reason) {
  static std::atomic<bool> reported{false};
  if (reported.exchange(true)) return;
  std::fprintf(stderr, "tonvela: no sound output device could be opened: %s\n", reason.c_str());
}

}  // namespace

std::unique_ptr<WaveSink> CreateDesktopWaveSink() { return CreatePortAudioWaveSink(ReportNoOutputOnce); }

}  // namespace tv::qt

#include "platform/qt/desktop_wave_sink.h"
#include "platform/wave/portaudio/portaudio_wave_sink.h"

namespace tv::qt {

std::unique_ptr<WaveSink> CreateDesktopWaveSink() { return CreatePortAudioWaveSink(); }

}  // namespace tv::qt

// A build without a sound-card sink: there is never an output device.
#include "platform/qt/desktop_wave_sink.h"

namespace tv::qt {

std::unique_ptr<WaveSink> CreateDesktopWaveSink() { return nullptr; }

}  // namespace tv::qt

// The output device of the desktop program, chosen by the build.
#pragma once

#include <memory>

#include "platform/wave/wave_sink.h"

namespace tv::qt {

// The sink that plays on the desktop's default output; null when there is none.
std::unique_ptr<WaveSink> CreateDesktopWaveSink();

}  // namespace tv::qt

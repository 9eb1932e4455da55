// The sink of the browser's output device: the page schedules the samples on Web Audio
// (16000 samples per second, mono) and pulls them from the open device as its schedule
// runs short (see page/tonvela-page.js, AudioOutput).
#pragma once

#include <memory>

#include "platform/wave/wave_sink.h"

namespace tv::web {

std::unique_ptr<WaveSink> CreateWebWaveSink();

}  // namespace tv::web

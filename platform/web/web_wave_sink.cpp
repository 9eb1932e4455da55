#include "platform/web/web_wave_sink.h"

#include <emscripten/emscripten.h>

#include <cstdint>

#include "platform/web/page_bridge.h"

namespace tv::web {
namespace {

// The page plays one output at a time, as the program opens one device at a time.
class WebWaveSink;
WebWaveSink* g_playing = nullptr;

class WebWaveSink final : public WaveSink {
 public:
  ~WebWaveSink() override { Stop(); }

  bool Start(WaveSource& source) override {
    Stop();
    if (g_playing) g_playing->Stop();
    if (!tv_page_audio_open(16000)) return false;
    source_ = &source;
    g_playing = this;
    return true;
  }

  void Stop() override {
    if (g_playing != this) return;
    g_playing = nullptr;
    source_ = nullptr;
    tv_page_audio_close();
  }

  PullResult Pull(std::int16_t* out, int frames) {
    // Each piece ends at the end of a block at the latest, so that a block is handed
    // back when its last sample goes to the output, not earlier.
    return source_->Pull(out, static_cast<std::size_t>(frames), true);
  }

 private:
  WaveSource* source_ = nullptr;
};

}  // namespace

std::unique_ptr<WaveSink> CreateWebWaveSink() { return std::make_unique<WebWaveSink>(); }

}  // namespace tv::web

// The page's audio schedule asks for the next samples: up to `frames` into `out`.
// Returns twice the number written, plus 1 when they end a block: the page then lets the
// program refill it before it pulls on. 0 when no device is open.
extern "C" EMSCRIPTEN_KEEPALIVE int tv_web_audio_pull(std::int16_t* out, int frames) {
  if (!tv::web::g_playing || frames <= 0) return 0;
  const tv::PullResult pulled = tv::web::g_playing->Pull(out, frames);
  return static_cast<int>(pulled.frames) * 2 + (pulled.headerFinished ? 1 : 0);
}

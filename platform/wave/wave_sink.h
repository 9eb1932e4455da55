// The seam between the wave-output device core and whatever plays its samples.
//
// The core keeps the queue of written headers; a sink only decides when samples are
// needed and pulls them, on whatever thread it likes. Sinks are interchangeable: a
// simulated one whose clock the caller advances, and one that plays on the sound card.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tv {

struct PullResult {
  std::size_t frames = 0;       // samples written to the output
  bool headerFinished = false;  // at least one header was handed back during the pull
};

// Implemented by the device core. Thread-safe.
class WaveSource {
 public:
  virtual ~WaveSource() = default;
  // Writes `frames` mono 16-bit samples to `out` from the queued headers in queue order,
  // silence where nothing is queued. Every header played to its end is handed back with
  // MM_WOM_DONE before this returns. With `stopAtHeaderEnd`, returns right after the
  // first header that ends, having written fewer samples.
  virtual PullResult Pull(std::int16_t* out, std::size_t frames, bool stopAtHeaderEnd) = 0;
};

class WaveSink {
 public:
  virtual ~WaveSink() = default;
  // Begins pulling from `source` (16000 samples per second, mono, 16-bit). False when
  // the output cannot be started; the sink then never touches `source`.
  virtual bool Start(WaveSource& source) = 0;
  // No Pull is running or will run once this returns. Idempotent.
  virtual void Stop() = 0;
};

}  // namespace tv

// One open wave-output device: its queue of written headers and the samples it plays.
//
// The program's threads (writes, resets) and the sink's thread (pulls) meet here, under
// one mutex. A header's samples are copied when it is written, so the sink's thread never
// reads the program's blocks; a write refused because the header is still queued copies
// them again, so a block rewritten in place while queued is heard from the sample that
// plays next.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/wave/wave_sink.h"
#include "platform/win32_api.h"

namespace tv {

// Delivers a device notification (MM_WOM_OPEN, MM_WOM_DONE, MM_WOM_CLOSE) with its
// wParam (the device handle) and lParam (the header, for MM_WOM_DONE). Any thread.
using WaveNotifier = std::function<void(UINT message, WPARAM wParam, LPARAM lParam)>;

class WaveDevice final : public WaveSource {
 public:
  WaveDevice(HWAVEOUT handle, WaveNotifier notify);

  MMRESULT Prepare(WAVEHDR* header);
  MMRESULT Unprepare(WAVEHDR* header);
  MMRESULT Write(WAVEHDR* header);
  MMRESULT Reset();
  // Marks the device closed, unless headers are still queued (WAVERR_STILLPLAYING).
  // Every later call fails with MMSYSERR_INVALHANDLE.
  MMRESULT MarkClosed();
  void Notify(UINT message, LPARAM lParam) const;

  PullResult Pull(std::int16_t* out, std::size_t frames, bool stopAtHeaderEnd) override;

 private:
  struct QueuedHeader {
    WAVEHDR* header = nullptr;
    std::vector<std::int16_t> samples;
    std::size_t played = 0;
  };

  static void CopySamples(const WAVEHDR& header, std::vector<std::int16_t>& samples);
  // Hands the header back: no longer queued, done, MM_WOM_DONE sent. Lock held.
  void HandBack(WAVEHDR* header);
  // Takes the first queued header off the queue and keeps its sample buffer for a later
  // write, so that the sink's thread never frees memory. Lock held.
  WAVEHDR* PopFront();
  QueuedHeader* FindQueued(const WAVEHDR* header);

  const HWAVEOUT handle_;
  const WaveNotifier notify_;
  std::mutex mutex_;
  std::vector<QueuedHeader> queue_;
  std::vector<std::vector<std::int16_t>> spareSamples_;
  bool closed_ = false;
};

}  // namespace tv

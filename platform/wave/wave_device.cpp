#include "platform/wave/wave_device.h"

#include <algorithm>
#include <utility>

namespace tv {

namespace {
// Room for the buffers of this many headers, reserved up front.
constexpr std::size_t kTypicalQueueLength = 8;
}  // namespace

WaveDevice::WaveDevice(HWAVEOUT handle, WaveNotifier notify)
    : handle_(handle), notify_(std::move(notify)) {
  queue_.reserve(kTypicalQueueLength);
  spareSamples_.reserve(kTypicalQueueLength);
}

void WaveDevice::Notify(UINT message, LPARAM lParam) const {
  if (notify_) notify_(message, reinterpret_cast<WPARAM>(handle_), lParam);
}

MMRESULT WaveDevice::Prepare(WAVEHDR* header) {
  std::lock_guard lock(mutex_);
  if (closed_) return MMSYSERR_INVALHANDLE;
  if (header->lpData == nullptr) return MMSYSERR_INVALPARAM;
  header->dwFlags |= WHDR_PREPARED;
  return MMSYSERR_NOERROR;
}

MMRESULT WaveDevice::Unprepare(WAVEHDR* header) {
  std::lock_guard lock(mutex_);
  if (closed_) return MMSYSERR_INVALHANDLE;
  if (FindQueued(header) != nullptr) return WAVERR_STILLPLAYING;
  header->dwFlags &= ~WHDR_PREPARED;
  return MMSYSERR_NOERROR;
}

MMRESULT WaveDevice::Write(WAVEHDR* header) {
  std::lock_guard lock(mutex_);
  if (closed_) return MMSYSERR_INVALHANDLE;
  if ((header->dwFlags & WHDR_PREPARED) == 0) return WAVERR_UNPREPARED;
  if (QueuedHeader* queued = FindQueued(header)) {
    // Refused: the queue keeps its order, but what the program just wrote into the block
    // is what plays from here on.
    CopySamples(*header, queued->samples);
    return WAVERR_STILLPLAYING;
  }
  QueuedHeader entry;
  entry.header = header;
  if (!spareSamples_.empty()) {
    entry.samples = std::move(spareSamples_.back());
    spareSamples_.pop_back();
  }
  CopySamples(*header, entry.samples);
  header->dwFlags = (header->dwFlags & ~WHDR_DONE) | WHDR_INQUEUE;
  queue_.push_back(std::move(entry));
  return MMSYSERR_NOERROR;
}

MMRESULT WaveDevice::Reset() {
  std::lock_guard lock(mutex_);
  if (closed_) return MMSYSERR_INVALHANDLE;
  while (!queue_.empty()) HandBack(PopFront());
  return MMSYSERR_NOERROR;
}

MMRESULT WaveDevice::MarkClosed() {
  std::lock_guard lock(mutex_);
  if (closed_) return MMSYSERR_INVALHANDLE;
  if (!queue_.empty()) return WAVERR_STILLPLAYING;
  closed_ = true;
  return MMSYSERR_NOERROR;
}

PullResult WaveDevice::Pull(std::int16_t* out, std::size_t frames, bool stopAtHeaderEnd) {
  std::lock_guard lock(mutex_);
  PullResult result;
  while (result.frames < frames) {
    if (queue_.empty() || closed_) {
      std::fill(out + result.frames, out + frames, std::int16_t{0});
      result.frames = frames;
      break;
    }
    QueuedHeader& front = queue_.front();
    const std::size_t available = front.samples.size() - front.played;
    const std::size_t count = std::min(available, frames - result.frames);
    std::copy_n(front.samples.begin() + static_cast<std::ptrdiff_t>(front.played), count,
                out + result.frames);
    front.played += count;
    result.frames += count;
    if (front.played == front.samples.size()) {
      HandBack(PopFront());
      result.headerFinished = true;
      if (stopAtHeaderEnd) break;
    }
  }
  return result;
}

void WaveDevice::CopySamples(const WAVEHDR& header, std::vector<std::int16_t>& samples) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(header.lpData);
  samples.resize(header.dwBufferLength / 2);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const auto word = static_cast<std::uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    samples[i] = static_cast<std::int16_t>(word);
  }
}

WAVEHDR* WaveDevice::PopFront() {
  QueuedHeader& front = queue_.front();
  WAVEHDR* header = front.header;
  if (spareSamples_.size() < spareSamples_.capacity()) spareSamples_.push_back(std::move(front.samples));
  queue_.erase(queue_.begin());
  return header;
}

void WaveDevice::HandBack(WAVEHDR* header) {
  header->dwFlags = (header->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
  Notify(MM_WOM_DONE, reinterpret_cast<LPARAM>(header));
}

WaveDevice::QueuedHeader* WaveDevice::FindQueued(const WAVEHDR* header) {
  auto found = std::find_if(queue_.begin(), queue_.end(),
                            [header](const QueuedHeader& entry) { return entry.header == header; });
  return found == queue_.end() ? nullptr : &*found;
}

}  // namespace tv

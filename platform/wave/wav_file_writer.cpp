#include "platform/wave/wav_file_writer.h"

#include <sndfile.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace tv {

WavFileWriter::~WavFileWriter() {
  if (file_ != nullptr) sf_close(file_);
}

double WavFileWriter::FadeGain(std::size_t index, std::size_t length) {
  if (index >= length) return 1.0;
  const double x = (static_cast<double>(index) + 0.5) / static_cast<double>(length);
  return 0.5 - 0.5 * std::cos(std::numbers::pi * x);
}

bool WavFileWriter::Open(const std::string& path, std::string* error, std::size_t fadeSamples) {
  std::string ignored;
  Close(&ignored);
  SF_INFO info{};
  info.samplerate = 16000;
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  file_ = sf_open(path.c_str(), SFM_WRITE, &info);
  if (file_ == nullptr) {
    if (error) *error = "cannot create " + path + ": " + sf_strerror(nullptr);
    return false;
  }
  path_ = path;
  writeFailed_ = false;
  fadeSamples_ = fadeSamples;
  written_ = 0;
  tail_.clear();
  return true;
}

void WavFileWriter::Write(const std::int16_t* samples, std::size_t count) {
  if (count == 0) return;
  const auto wanted = static_cast<sf_count_t>(count);
  if (sf_write_short(file_, samples, wanted) != wanted) writeFailed_ = true;
}

namespace {

std::int16_t Faded(std::int16_t sample, double gain) {
  return static_cast<std::int16_t>(std::lround(sample * gain));
}

}  // namespace

void WavFileWriter::Append(const std::int16_t* samples, std::size_t count) {
  if (file_ == nullptr || count == 0) return;
  if (fadeSamples_ == 0) {
    Write(samples, count);
    return;
  }
  // Samples enter the tail faded in; what leaves it early enough is written.
  for (std::size_t i = 0; i < count; ++i) {
    tail_.push_back(Faded(samples[i], FadeGain(written_, fadeSamples_)));
    ++written_;
  }
  if (tail_.size() > fadeSamples_) {
    const std::vector<std::int16_t> ready(tail_.begin(), tail_.end() - static_cast<std::ptrdiff_t>(fadeSamples_));
    tail_.erase(tail_.begin(), tail_.end() - static_cast<std::ptrdiff_t>(fadeSamples_));
    Write(ready.data(), ready.size());
  }
}

bool WavFileWriter::Close(std::string* error) {
  if (file_ == nullptr) return true;
  if (!tail_.empty()) {
    // The last sample is the last of the fade-out, however short the recording was.
    std::vector<std::int16_t> ending(tail_.begin(), tail_.end());
    for (std::size_t i = 0; i < ending.size(); ++i) {
      ending[i] = Faded(ending[i], FadeGain(ending.size() - 1 - i, fadeSamples_));
    }
    Write(ending.data(), ending.size());
    tail_.clear();
  }
  const bool closed = sf_close(file_) == 0;
  file_ = nullptr;
  if (writeFailed_ || !closed) {
    if (error) *error = "cannot write " + path_;
    return false;
  }
  return true;
}

}  // namespace tv

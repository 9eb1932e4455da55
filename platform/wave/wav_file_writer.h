// A 16 kHz mono 16-bit PCM WAV file being written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

typedef struct sf_private_tag SNDFILE;

namespace tv {

class WavFileWriter {
 public:
  WavFileWriter() = default;
  ~WavFileWriter();
  WavFileWriter(const WavFileWriter&) = delete;
  WavFileWriter& operator=(const WavFileWriter&) = delete;

  // False with a message in `error` when the file cannot be created. With `fadeSamples`
  // the recording fades in over its first and out over its last that many samples;
  // without, every sample is written as it comes.
  bool Open(const std::string& path, std::string* error, std::size_t fadeSamples = 0);
  bool IsOpen() const { return file_ != nullptr; }
  void Append(const std::int16_t* samples, std::size_t count);
  // Completes the header; false with a message when a write failed along the way.
  bool Close(std::string* error);

  // The gain of sample `index` (0-based) of a fade over `length` samples: a raised-cosine
  // rise from 0 that reaches 1 after the fade; a fade-out is its mirror image.
  static double FadeGain(std::size_t index, std::size_t length);

 private:
  void Write(const std::int16_t* samples, std::size_t count);

  SNDFILE* file_ = nullptr;
  std::string path_;
  bool writeFailed_ = false;
  std::size_t fadeSamples_ = 0;
  std::size_t written_ = 0;          // samples that have passed the fade-in so far
  std::deque<std::int16_t> tail_;    // the latest samples, held back for the fade-out
};

}  // namespace tv

// A 16 kHz mono 16-bit PCM WAV file being written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

typedef struct sf_private_tag SNDFILE;

namespace tv {

class WavFileWriter {
 public:
  WavFileWriter() = default;
  ~WavFileWriter();
  WavFileWriter(const WavFileWriter&) = delete;
  WavFileWriter& operator=(const WavFileWriter&) = delete;

  // False with a message in `error` when the file cannot be created.
  bool Open(const std::string& path, std::string* error);
  bool IsOpen() const { return file_ != nullptr; }
  void Append(const std::int16_t* samples, std::size_t count);
  // Completes the header; false with a message when a write failed along the way.
  bool Close(std::string* error);

 private:
  SNDFILE* file_ = nullptr;
  std::string path_;
  bool writeFailed_ = false;
};

}  // namespace tv

#include "platform/wave/wav_file_writer.h"

#include <sndfile.h>

namespace tv {

WavFileWriter::~WavFileWriter() {
  if (file_ != nullptr) sf_close(file_);
}

bool WavFileWriter::Open(const std::string& path, std::string* error) {
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
  return true;
}

void WavFileWriter::Append(const std::int16_t* samples, std::size_t count) {
  if (file_ == nullptr || count == 0) return;
  const auto wanted = static_cast<sf_count_t>(count);
  if (sf_write_short(file_, samples, wanted) != wanted) writeFailed_ = true;
}

bool WavFileWriter::Close(std::string* error) {
  if (file_ == nullptr) return true;
  const bool closed = sf_close(file_) == 0;
  file_ = nullptr;
  if (writeFailed_ || !closed) {
    if (error) *error = "cannot write " + path_;
    return false;
  }
  return true;
}

}  // namespace tv

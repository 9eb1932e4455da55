// The WAV writer of the Windows test build: recording is not available there.
#include "platform/wave/wav_file_writer.h"

namespace tv {

WavFileWriter::~WavFileWriter() = default;

bool WavFileWriter::Open(const std::string& path, std::string* error, std::size_t) {
  if (error) *error = "cannot record " + path + ": no WAV writer in this build";
  return false;
}

void WavFileWriter::Append(const std::int16_t*, std::size_t) {}

bool WavFileWriter::Close(std::string*) { return true; }

}  // namespace tv

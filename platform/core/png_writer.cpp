// PNG output through libpng's simplified write interface. The image goes to a temporary
// file beside the target, which is renamed over the target only once it is complete.
#include "platform/core/png_writer.h"

#include <fcntl.h>
#include <png.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace tv {
namespace {

std::vector<png_byte> ToRgbBytes(const Raster& raster) {
  std::vector<png_byte> bytes;
  bytes.reserve(raster.pixels.size() * 3);
  for (const Rgb pixel : raster.pixels) {
    bytes.push_back(static_cast<png_byte>((pixel >> 16) & 0xFF));
    bytes.push_back(static_cast<png_byte>((pixel >> 8) & 0xFF));
    bytes.push_back(static_cast<png_byte>(pixel & 0xFF));
  }
  return bytes;
}

// A name beside `path` that no other writer in this or another process uses.
std::string TemporaryPathFor(const std::string& path) {
  static std::atomic<unsigned> counter{0};
  return path + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

bool Fail(std::string* error, std::string message) {
  if (error != nullptr) *error = std::move(message);
  return false;
}

// Owns the open temporary file and removes it unless Keep() was called.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::string path) : path_(std::move(path)) {
    const int descriptor = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor >= 0) {
      stream_ = ::fdopen(descriptor, "wb");
      if (stream_ == nullptr) ::close(descriptor);
    }
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (stream_ != nullptr) std::fclose(stream_);
    if (!kept_) ::unlink(path_.c_str());
  }

  FILE* stream() const { return stream_; }
  const std::string& path() const { return path_; }
  // Flushes and closes; false when the data did not all reach the file.
  bool Close() {
    const bool flushed = std::fflush(stream_) == 0;
    const bool closed = std::fclose(stream_) == 0;
    stream_ = nullptr;
    return flushed && closed;
  }
  void Keep() { kept_ = true; }

 private:
  std::string path_;
  FILE* stream_ = nullptr;
  bool kept_ = false;
};

}  // namespace

bool WritePng(const Raster& raster, const std::string& path, std::string* error) {
  std::vector<unsigned char> png;
  std::string encodeError;
  if (!EncodePng(raster, &png, &encodeError)) {
    return Fail(error, encodeError + " (" + path + ")");
  }
  TemporaryFile file(TemporaryPathFor(path));
  if (file.stream() == nullptr) {
    return Fail(error, "cannot create " + file.path() + ": " + std::strerror(errno));
  }
  const bool written = std::fwrite(png.data(), 1, png.size(), file.stream()) == png.size();
  if (!file.Close() || !written) {
    return Fail(error, "cannot write " + file.path() + ": " + std::strerror(errno));
  }
  if (std::rename(file.path().c_str(), path.c_str()) != 0) {
    return Fail(error, "cannot rename " + file.path() + " to " + path + ": " +
                           std::strerror(errno));
  }
  file.Keep();
  return true;
}

bool EncodePng(const Raster& raster, std::vector<unsigned char>* bytes, std::string* error) {
  if (raster.width <= 0 || raster.height <= 0 ||
      raster.pixels.size() != static_cast<std::size_t>(raster.width) * raster.height) {
    return Fail(error, "cannot encode an empty image");
  }
  const std::vector<png_byte> rgb = ToRgbBytes(raster);
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(raster.width);
  image.height = static_cast<png_uint_32>(raster.height);
  image.format = PNG_FORMAT_RGB;
  const png_int_32 rowStride = raster.width * 3;
  png_alloc_size_t size = 0;
  bool encoded = png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), rowStride,
                                           nullptr) != 0;
  if (encoded) {
    bytes->resize(size);
    encoded = png_image_write_to_memory(&image, bytes->data(), &size, 0, rgb.data(), rowStride,
                                        nullptr) != 0;
    bytes->resize(size);
  }
  const std::string encoderMessage = image.message;
  png_image_free(&image);
  if (!encoded) return Fail(error, "cannot encode the image: " + encoderMessage);
  return true;
}

}  // namespace tv

// The choices of a fuzz run, read from a byte string: the fuzzer's input, or bytes drawn
// from a seeded generator so that a run can be repeated from its seed alone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

namespace tv::fuzz {

class ByteSource {
 public:
  ByteSource(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool Empty() const { return next_ >= size_; }
  std::size_t Consumed() const { return next_; }

  // 0 once the bytes are used up, so that every input decodes to some run.
  std::uint8_t Byte() { return Empty() ? 0 : data_[next_++]; }
  std::uint16_t Word() { return static_cast<std::uint16_t>(Byte() | (Byte() << 8)); }
  // A number from 0 to limit - 1 (limit at most 65536).
  std::uint32_t Below(std::uint32_t limit) {
    return limit <= 256 ? Byte() % limit : Word() % limit;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t next_ = 0;
};

inline std::vector<std::uint8_t> SeededBytes(std::uint64_t seed, std::size_t size) {
  std::mt19937_64 generator(seed);
  std::vector<std::uint8_t> bytes(size);
  for (auto& byte : bytes) byte = static_cast<std::uint8_t>(generator());
  return bytes;
}

}  // namespace tv::fuzz

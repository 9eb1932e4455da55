// The code page 932 tables, generated at build time by make_cp932_table.py.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tv::cp932 {

// Marks a byte or byte pair that is no character.
inline constexpr std::uint16_t kNoCharacter = 0xFFFF;

constexpr bool IsLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}
// Row of kDoubleByte for a lead byte.
constexpr int LeadIndex(unsigned char lead) { return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 31; }

// Unicode of each byte that is a character by itself.
extern const std::uint16_t kSingleByte[256];
// Unicode of each lead byte (by LeadIndex) and trail byte.
extern const std::uint16_t kDoubleByte[60][256];

struct Encoding {
  std::uint16_t unicode;
  std::uint16_t code;  // below 0x100 a single byte, else lead byte * 256 + trail byte
};
// Sorted by Unicode.
extern const Encoding kEncodings[];
extern const std::size_t kEncodingCount;

}  // namespace tv::cp932

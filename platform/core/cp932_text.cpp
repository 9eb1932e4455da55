#include "platform/core/cp932_text.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "platform/core/cp932_table.h"

namespace tv {
namespace {

void AppendUtf8(std::string& output, std::uint32_t unicode) {
  if (unicode < 0x80) {
    output += static_cast<char>(unicode);
  } else if (unicode < 0x800) {
    output += static_cast<char>(0xC0 | (unicode >> 6));
    output += static_cast<char>(0x80 | (unicode & 0x3F));
  } else {
    output += static_cast<char>(0xE0 | (unicode >> 12));
    output += static_cast<char>(0x80 | ((unicode >> 6) & 0x3F));
    output += static_cast<char>(0x80 | (unicode & 0x3F));
  }
}

// Length in bytes of the UTF-8 sequence that starts with `lead`.
std::size_t Utf8SequenceLength(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

// The code point of one complete UTF-8 sequence; none when it is malformed (a stray
// continuation byte, an overlong form, a surrogate, beyond U+10FFFF).
std::optional<std::uint32_t> DecodeUtf8(std::string_view sequence) {
  const auto lead = static_cast<unsigned char>(sequence[0]);
  if (sequence.size() == 1) {
    if (lead >= 0x80) return std::nullopt;
    return lead;
  }
  static constexpr unsigned char kLeadMask[] = {0, 0, 0x1F, 0x0F, 0x07};
  static constexpr std::uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (lead > 0xF4) return std::nullopt;
  std::uint32_t unicode = lead & kLeadMask[sequence.size()];
  for (std::size_t i = 1; i < sequence.size(); ++i) {
    const auto byte = static_cast<unsigned char>(sequence[i]);
    if ((byte & 0xC0) != 0x80) return std::nullopt;
    unicode = (unicode << 6) | (byte & 0x3F);
  }
  if (unicode < kSmallest[sequence.size()] || unicode > 0x10FFFF) return std::nullopt;
  if (unicode >= 0xD800 && unicode <= 0xDFFF) return std::nullopt;
  return unicode;
}

std::optional<std::uint16_t> EncodeCp932(std::uint32_t unicode) {
  const cp932::Encoding* end = cp932::kEncodings + cp932::kEncodingCount;
  const cp932::Encoding* found =
      std::lower_bound(cp932::kEncodings, end, unicode,
                       [](const cp932::Encoding& entry, std::uint32_t value) { return entry.unicode < value; });
  if (found == end || found->unicode != unicode) return std::nullopt;
  return found->code;
}

}  // namespace

std::string Cp932ToUtf8(std::string_view cp932) {
  std::string output;
  output.reserve(cp932.size() * 3 / 2);
  std::size_t i = 0;
  while (i < cp932.size()) {
    const auto byte = static_cast<unsigned char>(cp932[i]);
    std::uint16_t unicode = cp932::kNoCharacter;
    std::size_t length = 1;
    if (cp932::IsLeadByte(byte)) {
      if (i + 1 < cp932.size()) {
        const auto trail = static_cast<unsigned char>(cp932[i + 1]);
        unicode = cp932::kDoubleByte[cp932::LeadIndex(byte)][trail];
        length = 2;
      }
    } else {
      unicode = cp932::kSingleByte[byte];
    }
    if (unicode == cp932::kNoCharacter) {
      // A lead byte without a valid trail byte costs only itself: what follows is read
      // again from the next byte.
      output += "\xEF\xBF\xBD";
      i += 1;
    } else {
      AppendUtf8(output, unicode);
      i += length;
    }
  }
  return output;
}

std::string Utf8ToCp932(std::string_view utf8) {
  std::string output;
  // Character by character, so that one unmappable character costs only itself.
  std::size_t i = 0;
  while (i < utf8.size()) {
    std::size_t length = Utf8SequenceLength(static_cast<unsigned char>(utf8[i]));
    if (i + length > utf8.size()) length = utf8.size() - i;
    const std::optional<std::uint32_t> unicode = DecodeUtf8(utf8.substr(i, length));
    const std::optional<std::uint16_t> code = unicode ? EncodeCp932(*unicode) : std::nullopt;
    if (!code) {
      output += '?';
    } else if (*code < 0x100) {
      output += static_cast<char>(*code);
    } else {
      output += static_cast<char>(*code >> 8);
      output += static_cast<char>(*code & 0xFF);
    }
    i += length;
  }
  return output;
}

}  // namespace tv

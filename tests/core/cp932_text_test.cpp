#include <gtest/gtest.h>
#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/core/cp932_text.h"

TEST(Cp932Text, RoundTripsTheProgramsCharacters) {
  for (const std::string text : {"振幅=0 パワー=0  -∞[dB]", "現在の基本周波数=440 Hz",
                                 "警告！　複合波が歪みました。音量を落として下さい。", ""}) {
    EXPECT_EQ(tv::Cp932ToUtf8(tv::Utf8ToCp932(text)), text);
  }
  EXPECT_EQ(tv::Utf8ToCp932("∞"), "\x81\x87");
}

TEST(Cp932Text, BrokenInputIsReplacedNotDropped) {
  EXPECT_EQ(tv::Cp932ToUtf8("ab\x81"), "ab\xEF\xBF\xBD");     // lead byte cut off
  EXPECT_EQ(tv::Cp932ToUtf8("\x81\x20x"), "\xEF\xBF\xBD x");  // invalid pair
  EXPECT_EQ(tv::Utf8ToCp932("a😀b"), "a?b");
}

// The C library's own converter, with the same replacement rules: the reference that the
// generated tables must agree with everywhere.
namespace {

std::string ConvertWithIconv(const char* to, const char* from, std::string_view input,
                             std::string_view replacement, std::size_t invalidStep) {
  iconv_t handle = iconv_open(to, from);
  if (handle == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no iconv");
  std::string output;
  char buffer[64];
  char* in = const_cast<char*>(input.data());
  std::size_t inLeft = input.size();
  while (inLeft > 0) {
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t result = iconv(handle, &in, &inLeft, &out, &outLeft);
    output.append(buffer, static_cast<std::size_t>(out - buffer));
    if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
      output.append(replacement);
      const std::size_t skip = std::min(inLeft, invalidStep);
      in += skip;
      inLeft -= skip;
      iconv(handle, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(handle);
  return output;
}

std::string Utf8Of(char32_t unicode) {
  std::string text;
  if (unicode < 0x80) {
    text += static_cast<char>(unicode);
  } else if (unicode < 0x800) {
    text += static_cast<char>(0xC0 | (unicode >> 6));
    text += static_cast<char>(0x80 | (unicode & 0x3F));
  } else if (unicode < 0x10000) {
    text += static_cast<char>(0xE0 | (unicode >> 12));
    text += static_cast<char>(0x80 | ((unicode >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (unicode & 0x3F));
  } else {
    text += static_cast<char>(0xF0 | (unicode >> 18));
    text += static_cast<char>(0x80 | ((unicode >> 12) & 0x3F));
    text += static_cast<char>(0x80 | ((unicode >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (unicode & 0x3F));
  }
  return text;
}

}  // namespace

TEST(Cp932Text, DecodesEveryByteAndBytePairAsTheCLibraryDoes) {
  for (int first = 0; first < 256; ++first) {
    const std::string single(1, static_cast<char>(first));
    ASSERT_EQ(tv::Cp932ToUtf8(single), ConvertWithIconv("UTF-8", "CP932", single, "\xEF\xBF\xBD", 1))
        << std::hex << first;
    for (int second = 0; second < 256; ++second) {
      const std::string pair{static_cast<char>(first), static_cast<char>(second)};
      ASSERT_EQ(tv::Cp932ToUtf8(pair), ConvertWithIconv("UTF-8", "CP932", pair, "\xEF\xBF\xBD", 1))
          << std::hex << first << ' ' << second;
    }
  }
}

TEST(Cp932Text, EncodesEveryCharacterAsTheCLibraryDoes) {
  auto reference = [](const std::string& utf8) {
    return ConvertWithIconv("CP932", "UTF-8", utf8, "?", utf8.size());
  };
  for (char32_t unicode = 0; unicode < 0x10000; ++unicode) {
    if (unicode >= 0xD800 && unicode <= 0xDFFF) continue;
    const std::string utf8 = Utf8Of(unicode);
    ASSERT_EQ(tv::Utf8ToCp932(utf8), reference(utf8)) << std::hex << static_cast<unsigned>(unicode);
  }
  // Malformed UTF-8: stray continuation bytes, overlong forms, surrogates, a cut-off
  // sequence, beyond U+10FFFF, and a character outside the code page.
  for (const std::string broken : {"\x80", "\xC0\x80", "\xE0\x80\x80", "\xED\xA0\x80", "\xE3\x81",
                                   "\xF4\x90\x80\x80", "\xF0\x9F\x98\x80"}) {
    EXPECT_EQ(tv::Utf8ToCp932(broken), "?") << broken;
  }
}

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "app/label_text.h"
#include "platform/core/cp932_text.h"

namespace {

bool IsValidCp932(const char* text) {
  for (std::size_t i = 0; text[i] != '\0'; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if ((byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC)) {
      const auto trail = static_cast<unsigned char>(text[i + 1]);
      if (trail < 0x40 || trail == 0x7F || trail > 0xFC) return false;
      ++i;
    }
  }
  return true;
}

}  // namespace

TEST(LabelText, HugeAmplitudesAreCutAtAWholeCharacterInsideTheBuffer) {
  // From about 1e74 the level form no longer fits in 256 bytes.
  for (double amplitude : {1e73, 1e74, 1e75, 1e100, 1e154, 1e200, 1e308,
                           std::numeric_limits<double>::infinity()}) {
    char buffer[kLabelBufferSize + 8];
    std::memset(buffer, 0x55, sizeof buffer);
    FormatAmplitudeLabel(reinterpret_cast<char(&)[kLabelBufferSize]>(buffer), amplitude);
    const std::size_t length = std::strlen(buffer);
    EXPECT_LT(length, static_cast<std::size_t>(kLabelBufferSize)) << amplitude;
    EXPECT_EQ(static_cast<unsigned char>(buffer[kLabelBufferSize]), 0x55);  // untouched
    EXPECT_TRUE(IsValidCp932(buffer)) << amplitude;
    EXPECT_EQ(tv::Cp932ToUtf8(buffer).find("\xEF\xBF\xBD"), std::string::npos);
  }
}

TEST(LabelText, ACutThatWouldSplitACharacterDropsItsLeadByte) {
  // 253 ASCII characters then a two-byte character that straddles the buffer's end.
  const std::string filler(254, 'x');
  char buffer[kLabelBufferSize];
  FormatLabel(buffer, "%s\x81\x87", filler.c_str());
  EXPECT_EQ(std::string(buffer), filler.substr(0, 254).substr(0, 254));
  EXPECT_TRUE(IsValidCp932(buffer));
}

TEST(LabelText, NegativeAndNonFiniteLevelsPrintAsTheFormatSays) {
  char buffer[kLabelBufferSize];
  FormatAmplitudeLabel(buffer, -0.5);
  EXPECT_EQ(tv::Cp932ToUtf8(buffer), "振幅=-0.50 パワー=0.25  -6.02 [dB]");
  FormatAmplitudeLabel(buffer, 1e-200);  // power underflows to 0: the level is -inf
  EXPECT_EQ(tv::Cp932ToUtf8(buffer), "振幅=0.00 パワー=0.00  -inf [dB]");
}

#include <gtest/gtest.h>

#include <string>

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

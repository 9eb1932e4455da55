// The labels read the same under a locale that writes decimal commas: Qt adopts the
// user's locale when the application starts, and the program formats its numbers with
// the C library.
#include <clocale>
#include <cstdlib>

#include "qt_test_support.h"

namespace tv::qt_test {
namespace {

// Set before main, so that QApplication finds it as it would in a user's session.
[[maybe_unused]] const bool kGermanSession = [] {
  setenv("LOCPATH", TEST_LOCALES, 1);
  setenv("LANG", "de_DE.UTF-8", 1);
  unsetenv("LC_ALL");
  unsetenv("LC_NUMERIC");
  return true;
}();

using NumberLocale = QtDialogTest;

TEST_F(NumberLocale, LabelsUseDecimalPointsUnderAGermanLocale) {
  // Without the German locale in effect this test would prove nothing.
  const char* monetary = std::setlocale(LC_MONETARY, nullptr);
  ASSERT_NE(monetary, nullptr);
  ASSERT_STREQ(monetary, "de_DE.UTF-8");

  Click(1012, QPoint(5, Widget(1012).height() / 2));  // sine
  PumpUntilIdle();
  EXPECT_EQ(State(1023).text, "振幅=1.00 パワー=1.00  0.00 [dB]");
  EXPECT_EQ(State(1024).text, "振幅=0.00 パワー=0.00  -∞[dB]");
  Click(1003);  // volume down
  PumpUntilIdle();
  EXPECT_EQ(State(1023).text, "振幅=0.79 パワー=0.63  -2.00 [dB]");
}

}  // namespace
}  // namespace tv::qt_test

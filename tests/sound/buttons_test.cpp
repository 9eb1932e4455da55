// The six presets, the volume buttons with their accelerating steps, and Clear.
#include <cmath>

#include "app/main_dialog.h"
#include "app/tone_state.h"
#include "platform/core/window_manager.h"
#include "sound/wave_stream.h"
#include "sound_fixture.h"

namespace {

constexpr int kVolumeDown = 1003;
constexpr int kVolumeUp = 1007;
constexpr int kSquare = 1008;
constexpr int kSawtooth = 1009;
constexpr int kTriangle = 1010;
constexpr int kRepeatedPulse = 1011;
constexpr int kSine = 1012;
constexpr int kVowel = 1039;
constexpr int kClear = 1040;
constexpr int kFundamentalLabel = 1023;
constexpr int kFrequencyLabel = 1015;
constexpr int kFrequencySlider = 1014;

using ButtonsTest = SoundTest;

struct PresetCase {
  int id;
  int positions[10];
  int hz;
};

TEST_F(ButtonsTest, EveryPresetSetsItsSliderPositionsAndFrequency) {
  const PresetCase cases[] = {
      {kSquare, {100, 0, 33, 0, 20, 0, 14, 0, 11, 0}, 440},
      {kSawtooth, {50, 25, 16, 12, 10, 8, 7, 6, 5, 5}, 440},
      {kTriangle, {100, 0, 11, 0, 4, 0, 2, 0, 1, 0}, 440},
      {kRepeatedPulse, {10, 10, 10, 10, 10, 10, 10, 10, 10, 10}, 440},
      {kSine, {100, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 440},
      {kVowel, {5, 10, 25, 12, 9, 25, 9, 4, 1, 1}, 286},
      {kClear, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 286},  // Clear keeps the frequency
  };
  for (const PresetCase& c : cases) {
    SCOPED_TRACE(c.id);
    Click(c.id);
    for (int k = 1; k <= 10; ++k) EXPECT_EQ(g_sliderPos[k], c.positions[k - 1]) << "harmonic " << k;
    EXPECT_EQ(g_sliderPos[0], c.hz);
    EXPECT_EQ(g_frequencyHz, static_cast<float>(c.hz));
    EXPECT_EQ(g_masterGain, 1.0);
  }
}

TEST_F(ButtonsTest, PresetAmplitudesAreTheExactDoubleOperations) {
  Click(kSquare);
  EXPECT_EQ(g_amplitude[2], 1.0 / 3);
  Click(kSawtooth);
  EXPECT_EQ(g_amplitude[9], 0.5 * 0.1);
  EXPECT_EQ(g_amplitude[5], 0.5 / 6);
  Click(kVowel);
  EXPECT_EQ(g_amplitude[9], 0.5 * 0.032) << "h x 0.032, not u x 0.032";
  EXPECT_EQ(g_amplitude[0], 0.25 * 0.237);
}

TEST_F(ButtonsTest, SquareLabelsShowTheExactThirdAndTheZeroForm) {
  Click(kSquare);
  EXPECT_EQ(Text(1025), "振幅=0.33 パワー=0.11  -9.54 [dB]");
  EXPECT_EQ(Text(1024), "振幅=0.00 パワー=0.00  -∞[dB]");
}

TEST_F(ButtonsTest, PresetSetsTheFrequencyBackFromTheSlider) {
  g_sliderPos[0] = 1000;
  g_frequencyHz = 1000.0f;
  Click(kSquare);
  EXPECT_EQ(tv::FindWindowState(GetDlgItem(dialog, kFrequencySlider))->scrollPos, 440);
  EXPECT_EQ(Text(kFrequencyLabel), "現在の基本周波数=440 Hz");
  Click(kVowel);
  EXPECT_EQ(Text(kFrequencyLabel), "現在の基本周波数=286 Hz");
}

TEST_F(ButtonsTest, VolumeStepsAccelerateAndLabelTheFundamental) {
  Click(kSquare);
  Click(kVolumeDown);
  EXPECT_EQ(g_masterGain, 0.794);
  EXPECT_EQ(g_amplitude[0], 0.794);
  EXPECT_EQ(g_sliderPos[1], 79);
  EXPECT_EQ(Text(kFundamentalLabel), "振幅=0.79 パワー=0.63  -2.00 [dB]");
  Click(kVolumeDown);
  EXPECT_EQ(g_masterGain, 0.794 * 0.794);
  EXPECT_EQ(g_amplitude[0], 0.5005661840000001);
  EXPECT_EQ(g_sliderPos[1], 50);
  EXPECT_EQ(Text(kFundamentalLabel), "振幅=0.50 パワー=0.25  -6.01 [dB]");
}

TEST_F(ButtonsTest, VolumeUpOnceFromFullScaleGoesBeyondTheSliderEnd) {
  Click(kSine);
  Click(kVolumeUp);
  EXPECT_EQ(g_amplitude[0], 1.2594458438287153);
  EXPECT_EQ(g_sliderPos[1], 125);
  EXPECT_EQ(tv::FindWindowState(GetDlgItem(dialog, 1018))->scrollPos, 100);
  EXPECT_EQ(Text(kFundamentalLabel), "振幅=1.26 パワー=1.59  2.00 [dB]");
}

TEST_F(ButtonsTest, OppositeStepsBringTheFundamentalBackToExactlyOne) {
  const std::vector<std::vector<int>> sequences = {
      {kVolumeUp, kVolumeDown},
      {kVolumeDown, kVolumeUp},
      {kVolumeDown, kVolumeDown, kVolumeUp, kVolumeUp},
  };
  for (const auto& sequence : sequences) {
    Click(kSine);
    Click(kClear);
    Click(kSine);
    for (int id : sequence) Click(id);
    EXPECT_EQ(g_amplitude[0], 1.0) << "after " << sequence.size() << " steps";
  }
}

TEST_F(ButtonsTest, PresetsBuildAtTheCurrentGainAndClearResetsIt) {
  Click(kVolumeDown);
  Click(kSquare);
  EXPECT_EQ(g_amplitude[0], 0.794);
  EXPECT_EQ(g_sliderPos[1], 79);
  Click(kVolumeDown);
  Click(kSquare);
  EXPECT_EQ(g_amplitude[0], 0.794 * 0.794);
  Click(kClear);
  EXPECT_EQ(g_masterGain, 1.0);
  Click(kSquare);
  EXPECT_EQ(g_amplitude[0], 1.0);
}

TEST_F(ButtonsTest, VolumeWithSilenceChangesOnlyTheGain) {
  Click(kVolumeDown);
  for (double a : g_amplitude) EXPECT_EQ(a, 0.0);
  EXPECT_EQ(g_masterGain, 0.794);
  EXPECT_EQ(g_streaming, 0);
  EXPECT_EQ(g_hWaveOut, nullptr) << "the volume buttons never touch the device";
}

TEST_F(ButtonsTest, ButtonsOutsideTheActionTableDoNothing) {
  Click(kSquare);
  const double before = g_amplitude[2];
  for (int id : {1, 2, 1004, 1005, 1006, 1013, 1038, 1041, 999}) {
    MainDialogProc(dialog, WM_COMMAND, static_cast<WPARAM>(id), 0);
  }
  MainDialogProc(dialog, WM_COMMAND, MAKEWPARAM(kClear, 5), 0);
  EXPECT_EQ(g_amplitude[2], 0.0) << "the notification code is not examined";
  EXPECT_NE(before, 0.0);
}

}  // namespace

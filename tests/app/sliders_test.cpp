#include <climits>

#include "app/sliders.h"
#include "app_fixture.h"

using SlidersTest = AppTest;

TEST_F(SlidersTest, StartStateShowsTheFixedTexts) {
  EXPECT_EQ(Text(1015), "現在の基本周波数=440 Hz");
  for (int id : g_labelIds) EXPECT_EQ(Text(id), "振幅=0 パワー=0  -∞[dB]") << id;
  EXPECT_EQ(Thumb(1014), 440);
  const tv::Window* frequency = tv::FindWindowState(GetDlgItem(dialog, 1014));
  EXPECT_EQ(frequency->scrollMax, 2000);
  for (int k = 1; k <= 10; ++k) {
    EXPECT_EQ(Thumb(g_sliderIds[k]), 0);
    EXPECT_EQ(tv::FindWindowState(GetDlgItem(dialog, g_sliderIds[k]))->scrollMax, 100);
  }
  EXPECT_EQ(g_frequencyHz, 440.0f);
  EXPECT_EQ(g_masterGain, 1.0);
  EXPECT_EQ(g_streaming, 0);
}

TEST_F(SlidersTest, AmplitudeLabelsForThumbPositions) {
  struct Case {
    int position;
    double amplitude;
    const char* label;
  };
  const Case cases[] = {
      {50, 0.5, "振幅=0.50 パワー=0.25  -6.02 [dB]"},
      {100, 1.0, "振幅=1.00 パワー=1.00  0.00 [dB]"},
      {1, static_cast<double>(0.01f), "振幅=0.01 パワー=0.00  -40.00 [dB]"},
      {33, 0.33000001311302185, "振幅=0.33 パワー=0.11  -9.63 [dB]"},
      {0, 0.0, "振幅=0.00 パワー=0.00  -∞[dB]"},
  };
  for (const Case& c : cases) {
    Scroll(1020, SB_THUMBTRACK, c.position);
    EXPECT_EQ(g_sliderPos[3], c.position);
    EXPECT_EQ(g_amplitude[2], c.amplitude) << c.position;
    EXPECT_EQ(Text(1025), c.label);
    EXPECT_EQ(Thumb(1020), c.position);
  }
}

TEST_F(SlidersTest, ScrollCodesMoveAndClampThePosition) {
  struct Case {
    int sliderId;
    int start;
    int code;
    int thumb;
    int expected;
  };
  const Case cases[] = {
      {1014, 440, SB_LINELEFT, 0, 439},   {1014, 440, SB_LINERIGHT, 0, 441},
      {1014, 440, SB_PAGELEFT, 0, 430},   {1014, 440, SB_PAGERIGHT, 0, 450},
      {1014, 440, SB_THUMBPOSITION, 7, 440}, {1014, 440, SB_THUMBTRACK, 1999, 1999},
      {1014, 440, SB_LEFT, 0, 440},       {1014, 440, SB_RIGHT, 0, 440},
      {1014, 440, SB_ENDSCROLL, 0, 440},  {1014, 440, 9, 0, 440},
      {1014, 2000, SB_PAGERIGHT, 0, 2000}, {1014, 440, SB_THUMBTRACK, 65535, 2000},
      {1018, 0, SB_LINELEFT, 0, 0},       {1018, 95, SB_PAGERIGHT, 0, 100},
      {1018, 125, SB_LINELEFT, 0, 100},   {1018, INT_MIN, SB_LINELEFT, 0, 0},
      {1018, INT_MAX, SB_LINERIGHT, 0, 100},
  };
  for (const Case& c : cases) {
    const int k = c.sliderId == 1014 ? 0 : 1;
    g_sliderPos[k] = c.start;
    Scroll(c.sliderId, c.code, c.thumb);
    EXPECT_EQ(g_sliderPos[k], c.expected) << c.sliderId << " from " << c.start << " code " << c.code;
    EXPECT_EQ(Thumb(c.sliderId), c.expected);
  }
}

TEST_F(SlidersTest, FrequencySliderSetsTheFrequencyAndItsLabel) {
  Scroll(1014, SB_THUMBTRACK, 0);
  EXPECT_EQ(g_frequencyHz, 0.0f);
  EXPECT_EQ(Text(1015), "現在の基本周波数=0 Hz");
  Scroll(1014, SB_THUMBTRACK, 1234);
  EXPECT_EQ(g_frequencyHz, 1234.0f);
  EXPECT_EQ(Text(1015), "現在の基本周波数=1234 Hz");
}

TEST_F(SlidersTest, EveryNotificationRewritesTheAmplitudeFromThePosition) {
  g_amplitude[0] = 1.0 / 3.0;
  g_sliderPos[1] = 33;
  const int paintsBefore = tv::headless::Backend().PaintCount();
  Scroll(1018, SB_ENDSCROLL);
  EXPECT_EQ(g_amplitude[0], 0.33000001311302185);
  EXPECT_EQ(Text(1023), "振幅=0.33 パワー=0.11  -9.63 [dB]");
  EXPECT_EQ(tv::headless::Backend().PaintCount(), paintsBefore + 1);
}

TEST_F(SlidersTest, ANotificationFromNoSliderIsIgnored) {
  const int paintsBefore = tv::headless::Backend().PaintCount();
  Scroll(1023, SB_LINERIGHT);  // an amplitude label, not a slider
  MainDialogProc(dialog, WM_HSCROLL, SB_LINERIGHT, 0);
  EXPECT_EQ(g_sliderPos[0], 440);
  EXPECT_EQ(tv::headless::Backend().PaintCount(), paintsBefore);
}

TEST_F(SlidersTest, UpdateHarmonicControlsTruncatesAndDoesNotClamp) {
  struct Case {
    double amplitude;
    int position;
    int thumb;
    const char* label;
  };
  const Case cases[] = {
      {0.05925, 5, 5, "振幅=0.06 パワー=0.00  -24.55 [dB]"},
      {1.2594458438287153, 125, 100, "振幅=1.26 パワー=1.59  2.00 [dB]"},
      {1.0 / 3.0, 33, 33, "振幅=0.33 パワー=0.11  -9.54 [dB]"},
      {0.0, 0, 0, "振幅=0.00 パワー=0.00  -∞[dB]"},
      // 100 x amplitude beyond the int range shows the thumb at the left end
      {1e8, INT_MIN, 0, "振幅=100000000.00 パワー=10000000000000000.00  160.00 [dB]"},
  };
  for (const Case& c : cases) {
    g_amplitude[1] = c.amplitude;
    UpdateHarmonicControls(dialog);
    EXPECT_EQ(g_sliderPos[2], c.position) << c.amplitude;
    EXPECT_EQ(Thumb(1019), c.thumb);
    EXPECT_EQ(Text(1024), c.label);
    EXPECT_EQ(g_amplitude[1], c.amplitude);  // not rounded to the position
  }
}

TEST_F(SlidersTest, UpdateFrequencyControlsShowsTheRecordedPosition) {
  g_sliderPos[0] = 286;
  UpdateFrequencyControls(dialog);
  EXPECT_EQ(Thumb(1014), 286);
  EXPECT_EQ(Text(1015), "現在の基本周波数=286 Hz");
}

// The spectrum panel: the weighting table, the analysis frame walking the shared phase,
// the levels in dB stored in place, and the curve's rows and columns.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <numeric>

#include "display/spectrum_panel.h"
#include "sound/tone_generator.h"
#include "tests/display/paint_fixture.h"

namespace display_testing {
namespace {

using SpectrumPanelTest = PaintTest;

constexpr double kHalfPi = 1.5707963267948966;  // sin(kHalfPi) is exactly 1

// The row of a level for H = 100: one pixel per dB below row 470, truncated toward 0.
int RowOfLevel(double level) { return 470 - static_cast<int>(level); }
int ColumnOfBin(int k) { return 300 + (200 * k) / 64; }

// The phase after `samples` steps at `frequency`, wrapped as the fills wrap it.
double PhaseAfter(double phase, float frequency, int samples) {
  const double step = static_cast<double>(frequency) * 0.0003926990816875;
  for (int i = 0; i < samples; ++i) {
    phase = phase + step;
    if (phase > 6.283185307) phase = phase - 6.283185307;
  }
  return phase;
}

TEST(SpectrumWeightingTable, IsTheRisingHalfOfA256PointRaisedCosine) {
  g_fftIp[0] = 99;
  InitSpectrumAnalysis();
  EXPECT_EQ(g_fftIp[0], 0);  // the transform rebuilds its tables on its next call
  EXPECT_EQ(g_window[0], 0.0);
  EXPECT_NEAR(g_window[64], 0.49999999998, 5e-12);
  EXPECT_LT(g_window[64], 0.5);
  EXPECT_NEAR(g_window[127], 0.99984941, 5e-9);
  EXPECT_NEAR(std::accumulate(std::begin(g_window), std::end(g_window), 0.0), 63.5, 1e-8);
  for (int i = 1; i < 128; ++i) EXPECT_GT(g_window[i], g_window[i - 1]) << i;
}

TEST_F(SpectrumPanelTest, EveryPaintAdvancesThePhaseBy128StepsEvenInSilence) {
  struct Case {
    float frequency;
    double startPhase;
    std::initializer_list<double> amplitudes;
  };
  const Case cases[] = {
      {440.0f, 0.0, {}},
      {2000.0f, 6.0, {}},
      {2000.0f, 1.0, {1.0, 0.5}},
      {0.0f, 2.5, {1.0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.frequency);
    g_phase = c.startPhase;
    PaintWith(c.amplitudes, c.frequency);
    const double afterOne = PhaseAfter(c.startPhase, c.frequency, 128);
    EXPECT_EQ(g_phase, afterOne);
    RefreshPanels(dialog);
    EXPECT_EQ(g_phase, PhaseAfter(afterOne, c.frequency, 128));
  }
}

TEST_F(SpectrumPanelTest, SilenceGivesMinusInfinityEverywhereAndNoVisibleCurve) {
  PaintWith({});
  for (int k = 0; k < 64; ++k) {
    EXPECT_TRUE(std::isinf(g_fftData[k]) && g_fftData[k] < 0) << "bin " << k;
  }
  const Box belowThePanels{0, 460, Surface().width, Surface().height};
  const Box spectrumColumns{290, 0, 510, Surface().height};
  EXPECT_EQ(CountOf(kYellow, spectrumColumns), 0);
  EXPECT_EQ(CountOf(kBlack, kSpectrumPanel), 200 * 100);
  EXPECT_GT(CountOf(kYellow, belowThePanels), 0);  // the composite zero line
}

// At 0 Hz the phase stands still, so the frame is the window times one clamped value s,
// and bin 0 holds 20 log10(63.5 s / 128).
TEST_F(SpectrumPanelTest, LevelRowIsOneRowPerDecibelTruncatedTowardZero) {
  struct Case {
    double level;
    int row;
  };
  const Case cases[] = {
      {-6.0887, 476}, {-12.7, 482}, {-50.3, 520}, {-99.6, 569}, {-100.3, 570}, {-150.6, 620},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.level);
    g_phase = kHalfPi;
    const double value = 128.0 * std::pow(10.0, c.level / 20.0) / 63.5;
    PaintWith({value > 0.9999 ? 1.0 : value}, 0.0f);
    EXPECT_NEAR(g_fftData[0], c.level, 1e-4);
    EXPECT_EQ(Pixel(300, c.row), kYellow);
    EXPECT_EQ(TopRow(kYellow, Box{300, 470, 500, 650}), c.row);  // bin 0 is the loudest
  }
}

TEST_F(SpectrumPanelTest, NoLevelRisesAboveRow476) {
  g_phase = kHalfPi;
  PaintWith({40.0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0.0f);  // clamped to +1 in the frame
  EXPECT_NEAR(g_fftData[0], 20 * std::log10(63.5 / 128), 1e-9);
  EXPECT_EQ(TopRow(kYellow, Box{300, 0, 500, 650}), 476);
}

// The levels are those of a direct DFT of the same frame, bin k in element k.
TEST_F(SpectrumPanelTest, LevelsInPlaceAreThePowersOfBins0To63) {
  const double amplitudes[10] = {1.0, 0.5, 0.0, 0.25, 0.0, 0.125};
  g_phase = 0.3;
  double frame[128];
  FillAnalysisFrame(frame, amplitudes, 523.0f, g_window);
  g_phase = 0.3;
  PaintWith({1.0, 0.5, 0.0, 0.25, 0.0, 0.125}, 523.0f);

  for (int k = 0; k < 64; ++k) {
    std::complex<double> bin = 0;
    for (int j = 0; j < 128; ++j) bin += frame[j] * std::polar(1.0, 2 * std::numbers::pi * j * k / 128);
    const double level = 20 * std::log10(std::abs(bin) / 128);
    EXPECT_NEAR(g_fftData[k], level, 1e-6) << "bin " << k;
  }
}

// Each bin's point (x_k, row of L_k) starts the next segment, so it is drawn; bin 63's
// point ends the curve and is not. Nothing is drawn right of bin 63.
TEST_F(SpectrumPanelTest, CurveRunsThroughEachBinsPointAtItsColumn) {
  const struct {
    int bin;
    int column;
  } columns[] = {{0, 300}, {1, 303}, {2, 306}, {3, 309}, {32, 400}, {63, 496}};
  for (const auto& c : columns) EXPECT_EQ(ColumnOfBin(c.bin), c.column);

  PaintWith({1.0, 0.7, 0.5, 0.3, 0.2, 0.1, 0.05, 0.02, 0.01, 0.005}, 330.0f);
  for (int k = 0; k < 63; ++k) {
    EXPECT_EQ(Pixel(ColumnOfBin(k), RowOfLevel(g_fftData[k])), kYellow) << "bin " << k;
  }
  EXPECT_NE(Pixel(496, RowOfLevel(g_fftData[63])), kYellow);
  EXPECT_EQ(CountOf(kYellow, Box{497, 0, Surface().width, Surface().height}), 0);
}

TEST_F(SpectrumPanelTest, AToneOnABinPeaksAtThatBinsColumn) {
  struct Case {
    const char* name;
    float frequency;
    int harmonic;
    int column;
  };
  const Case cases[] = {
      {"4000 Hz, bin 32", 2000.0f, 2, 400},
      {"1000 Hz, bin 8", 1000.0f, 1, 325},
      // The curve's end point is not drawn: bin 63's peak at column 496 shows one row
      // lower, where the steep last segment passes half-way between columns 495 and
      // 496 and lights the left one.
      {"7875 Hz, bin 63", 875.0f, 9, 495},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    double amplitudes[10] = {};
    amplitudes[c.harmonic - 1] = 1.0;
    PaintWith({amplitudes[0], amplitudes[1], amplitudes[2], amplitudes[3], amplitudes[4],
               amplitudes[5], amplitudes[6], amplitudes[7], amplitudes[8], amplitudes[9]},
              c.frequency);
    const int top = TopRow(kYellow, Box{300, 400, 500, 650});
    const std::vector<int> atTop = ColumnsOnRow(kYellow, top, 300, 500);
    ASSERT_FALSE(atTop.empty());
    EXPECT_EQ(atTop.back(), c.column);
  }
}

}  // namespace
}  // namespace display_testing

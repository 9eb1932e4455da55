// The three black panels and the ten harmonic traces, each on its own zero line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>

#include "display/waveform_panels.h"
#include "tests/display/paint_fixture.h"

namespace display_testing {
namespace {

using WaveformPanelsTest = PaintTest;

const int kZeroRows[] = {50, 90, 130, 170, 210, 250, 290, 330, 370, 410};

TEST_F(WaveformPanelsTest, PanelsAreSolidBlackWithRightAndBottomEdgesOutside) {
  PaintWith({});
  struct Probe {
    int x;
    int y;
    tv::Rgb colour;
  };
  const Probe probes[] = {
      // harmonic panel 10..209 x 10..459
      {10, 10, kBlack}, {209, 10, kBlack}, {10, 459, kBlack}, {209, 459, kBlack},
      {9, 10, kBackground}, {10, 9, kBackground}, {210, 11, kBackground}, {10, 460, kBackground},
      // composite panel 10..209 x 470..569
      {10, 470, kBlack}, {209, 569, kBlack}, {10, 469, kBackground}, {210, 569, kBackground},
      {10, 570, kBackground},
      // spectrum panel 300..499 x 470..569
      {300, 470, kBlack}, {499, 569, kBlack}, {299, 470, kBackground}, {500, 470, kBackground},
      {499, 570, kBackground}, {300, 469, kBackground},
      // between the panels
      {250, 300, kBackground}, {100, 465, kBackground},
  };
  for (const Probe& p : probes) {
    EXPECT_EQ(Pixel(p.x, p.y), p.colour) << "(" << p.x << ", " << p.y << ")";
  }
}

TEST_F(WaveformPanelsTest, SilenceDrawsTenFlatGreenLinesFromColumn210To10) {
  PaintWith({});
  for (int y = kHarmonicPanel.top; y < kHarmonicPanel.bottom; ++y) {
    const bool zeroLine = std::find(std::begin(kZeroRows), std::end(kZeroRows), y) != std::end(kZeroRows);
    SCOPED_TRACE(y);
    EXPECT_EQ(ColumnsOnRow(kGreen, y, 0, 300), zeroLine ? Span(10, 210) : std::vector<int>{});
    if (!zeroLine) {
      EXPECT_EQ(ColumnsOnRow(kBlack, y, 10, 210), Span(10, 209));
    }
  }
}

TEST_F(WaveformPanelsTest, FundamentalAtFullAmplitudeSwings22RowsAroundRow50) {
  PaintWith({1.0});
  const Box traceOneBand{10, 11, 210, 89};
  EXPECT_EQ(TopRow(kGreen, traceOneBand), 28);
  EXPECT_EQ(BottomRow(kGreen, traceOneBand), 72);
  EXPECT_EQ(Pixel(60, 28), kGreen);   // sample 32
  EXPECT_EQ(Pixel(160, 72), kGreen);  // sample 96
  // Trace 1 starts where its zero line ended, and the other nine stay flat.
  EXPECT_EQ(Pixel(10, 50), kGreen);
  for (int k = 2; k <= 10; ++k) {
    const int zeroRow = kZeroRows[k - 1];
    EXPECT_EQ(ColumnsOnRow(kGreen, zeroRow - 1, 10, 210), std::vector<int>{}) << "harmonic " << k;
    EXPECT_EQ(ColumnsOnRow(kGreen, zeroRow + 1, 10, 210), std::vector<int>{}) << "harmonic " << k;
  }
}

TEST_F(WaveformPanelsTest, EachHarmonicIsDrawnOnItsOwnZeroLine) {
  for (int k = 1; k <= 10; ++k) {
    SCOPED_TRACE(k);
    double amplitudes[10] = {};
    amplitudes[k - 1] = 1.0;
    PaintWith({amplitudes[0], amplitudes[1], amplitudes[2], amplitudes[3], amplitudes[4],
               amplitudes[5], amplitudes[6], amplitudes[7], amplitudes[8], amplitudes[9]});
    const int zeroRow = kZeroRows[k - 1];
    EXPECT_EQ(TopRow(kGreen, kHarmonicPanel), k == 1 ? 28 : kZeroRows[0]);
    EXPECT_EQ(TopRow(kGreen, Box{10, zeroRow - 39, 210, zeroRow}), zeroRow - 22);
    EXPECT_EQ(BottomRow(kGreen, Box{10, zeroRow + 1, 210, zeroRow + 40}), zeroRow + 22);
  }
}

// The displacement is truncated toward zero: 22.5 * v = -11.25 moves the point 11 rows
// down, 11.25 moves it 11 rows up.
TEST_F(WaveformPanelsTest, RowsAreTruncatedTowardZero) {
  const double sample32 = std::sin(((32 * 6.28) * 1) * (1.0 / 128));
  struct Case {
    double value;  // of harmonic 1 at sample 32, its extreme
    int extremeRow;
  };
  const Case cases[] = {{-0.5, 61}, {0.5, 39}, {-0.9995, 72}, {0.9995, 28}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    PaintWith({c.value / sample32});
    const Box band{10, 11, 210, 89};
    if (c.value > 0) {
      EXPECT_EQ(TopRow(kGreen, band), c.extremeRow);
    } else {
      EXPECT_EQ(BottomRow(kGreen, band), c.extremeRow);
    }
    EXPECT_EQ(Pixel(60, c.extremeRow), kGreen);
  }
}

TEST_F(WaveformPanelsTest, UnboundedAmplitudesDrawOffThePanelWithoutFault) {
  struct Case {
    const char* name;
    double amplitude;
  };
  const Case cases[] = {
      {"beyond the float range", 1e300},
      {"infinite", INFINITY},
      {"not a number", NAN},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PaintWith({c.amplitude, c.amplitude, c.amplitude, c.amplitude, c.amplitude, c.amplitude,
               c.amplitude, c.amplitude, c.amplitude, c.amplitude});
    EXPECT_EQ(Pixel(10, 10), std::isnan(c.amplitude) ? kBlack : kGreen);
    EXPECT_EQ(WarningText(), std::isnan(c.amplitude) ? "" : kWarningUtf8);
  }
}

}  // namespace
}  // namespace display_testing

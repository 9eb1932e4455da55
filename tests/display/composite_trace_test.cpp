// The composite trace: the single-precision sum of the ten harmonic values, clamped
// strictly beyond +-1, and the clipping warning written on every paint.
#include <gtest/gtest.h>

#include <cmath>

#include "display/waveform_panels.h"
#include "tests/display/paint_fixture.h"

namespace display_testing {
namespace {

using CompositeTraceTest = PaintTest;

const double kSample32 = std::sin(((32 * 6.28) * 1) * (1.0 / 128));

TEST_F(CompositeTraceTest, SilenceIsAFlatYellowLineAtRow520AndNoWarning) {
  PaintWith({});
  for (int y = kCompositePanel.top; y < kCompositePanel.bottom + 1; ++y) {
    SCOPED_TRACE(y);
    EXPECT_EQ(ColumnsOnRow(kYellow, y, 0, 300), y == 520 ? Span(10, 210) : std::vector<int>{});
  }
  EXPECT_EQ(WarningText(), "");
}

TEST_F(CompositeTraceTest, FundamentalAloneReachesRows471And569WithoutClipping) {
  PaintWith({1.0});
  const Box aroundPanel{10, 460, 210, 580};
  EXPECT_EQ(TopRow(kYellow, aroundPanel), 471);
  EXPECT_EQ(BottomRow(kYellow, aroundPanel), 569);
  EXPECT_EQ(WarningText(), "");
}

TEST_F(CompositeTraceTest, SumBeyondOneIsDrawnAtThePanelEdgesAndWarns) {
  PaintWith({1.0, 1.0});
  const Box aroundPanel{10, 460, 210, 580};
  EXPECT_EQ(TopRow(kYellow, aroundPanel), 470);
  EXPECT_EQ(BottomRow(kYellow, aroundPanel), 570);
  EXPECT_EQ(WarningText(), kWarningUtf8);
  for (const float sample : g_compositeTrace) {
    EXPECT_LE(std::fabs(sample), 1.0f);
  }
  EXPECT_EQ(g_compositeTrace[16], 1.0f);    // sin(0.785) + sin(1.57) = 1.707
  EXPECT_EQ(g_compositeTrace[112], -1.0f);

  PaintWith({0.5, 0.5});  // at most 0.88
  EXPECT_EQ(WarningText(), "");
  EXPECT_EQ(TopRow(kYellow, aroundPanel), 520 - 44);
}

TEST_F(CompositeTraceTest, ExactlyOneIsNotClippedTheNextFloatIs) {
  struct Case {
    const char* name;
    double amplitude;
    float sample32;
    int row32;
    bool warns;
  };
  const double justAbove = std::nextafter(1.0f, 2.0f);
  const Case cases[] = {
      {"+1", 1.0 / kSample32, 1.0f, 470, false},
      {"-1", -1.0 / kSample32, -1.0f, 570, false},
      {"next float above +1", justAbove / kSample32, 1.0f, 470, true},
      {"next float below -1", -justAbove / kSample32, -1.0f, 570, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PaintWith({c.amplitude});
    EXPECT_EQ(g_compositeTrace[32], c.sample32);
    EXPECT_EQ(Pixel(60, c.row32), kYellow);
    EXPECT_EQ(WarningText(), c.warns ? kWarningUtf8 : "");
  }
}

// Clamped samples lie on rows 470 and 570, so the runs of clamped samples show the
// sample columns: 12 for sample 1, 110 for 64, 112 for 65 and 208 for 127.
TEST_F(CompositeTraceTest, ClampedRunsShowTheSampleColumns) {
  PaintWith({1e6});
  EXPECT_EQ(ColumnsOnRow(kYellow, 470, 0, 300), Span(12, 110));   // samples 1..64
  EXPECT_EQ(ColumnsOnRow(kYellow, 570, 0, 300), Span(112, 207));  // samples 65..127
  EXPECT_EQ(Pixel(10, 520), kYellow);                             // sample 0
}

TEST_F(CompositeTraceTest, SamplesAreTheSinglePrecisionSumInHarmonicOrder) {
  // A sawtooth spectrum, whose sum stays within +-1 so nothing is clamped.
  const double amplitudes[10] = {0.5, 0.25, 1.0 / 6, 0.125, 0.1, 1.0 / 12, 1.0 / 14, 0.0625,
                                 1.0 / 18, 0.05};
  PaintWith({amplitudes[0], amplitudes[1], amplitudes[2], amplitudes[3], amplitudes[4],
             amplitudes[5], amplitudes[6], amplitudes[7], amplitudes[8], amplitudes[9]});
  int differsFromDoubleSum = 0;
  for (int i = 0; i < 128; ++i) {
    float sum = 0.0f;
    double doubleSum = 0.0;
    for (int k = 1; k <= 10; ++k) {
      const double value = std::sin(((i * 6.28) * k) * (1.0 / 128)) * amplitudes[k - 1];
      sum += static_cast<float>(value);
      doubleSum += value;
    }
    EXPECT_EQ(g_compositeTrace[i], sum) << "sample " << i;
    differsFromDoubleSum += static_cast<float>(doubleSum) != sum;
  }
  EXPECT_GT(differsFromDoubleSum, 0) << "the case does not tell float from double sums";
  EXPECT_EQ(WarningText(), "");
}

}  // namespace
}  // namespace display_testing

// Samples of the composite tone: the 8-bit-in-16 playback format, the clamped analysis
// frame, and the shared phase that both walk.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "app/tone_state.h"
#include "sound/tone_generator.h"

namespace {

constexpr double kQuarterTurn = 1.5707963267948966;  // sin is exactly 1.0 here

struct Block {
  std::vector<char> bytes = std::vector<char>(kPlaybackBytes, 0x55);
  WAVEHDR header{bytes.data(), kPlaybackBytes, 0, 0, 0, 1, nullptr, 0};
  unsigned char Low(int i) const { return static_cast<unsigned char>(bytes[2 * i]); }
  unsigned char High(int i) const { return static_cast<unsigned char>(bytes[2 * i + 1]); }
  int Sample(int i) const {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(Low(i) | (High(i) << 8)));
  }
};

class ToneGeneratorTest : public ::testing::Test {
 protected:
  void SetUp() override { g_phase = 0.0; }
  double amplitudes_[10] = {};
};

struct Conversion {
  double sum;
  unsigned char high;
  int sample;
};

// The sum of the fundamental alone at a quarter turn, frequency 0: every sample is the
// same conversion.
TEST_F(ToneGeneratorTest, SumsConvertToTheHighByteOfTheTruncatedProduct) {
  const Conversion table[] = {
      {0.0, 0x00, 0},        {1.0, 0x7F, 32512},    {-1.0, 0x80, -32768},
      {0.5, 0x3F, 16128},    {-0.5, 0xC0, -16384},  {-0.00001, 0x00, 0},
      {-0.0001, 0xFF, -256}, {1.5, 0xBF, -16640},   {-1.5, 0x40, 16384},
      {2.0, 0xFF, -256},
  };
  for (const Conversion& c : table) {
    SCOPED_TRACE(c.sum);
    g_phase = kQuarterTurn;
    amplitudes_[0] = c.sum;
    Block block;
    FillPlaybackBuffer(&block.header, amplitudes_, 0.0f);
    for (int i : {0, 1, 1999}) {
      EXPECT_EQ(block.Low(i), 0x00);
      EXPECT_EQ(block.High(i), c.high);
      EXPECT_EQ(block.Sample(i), c.sample);
    }
  }
}

TEST_F(ToneGeneratorTest, ProductsBeyondTheIntRangeAndNaNPlayAsZero) {
  for (double sum : {1e300, -1e300, 70000.0, std::numeric_limits<double>::quiet_NaN(),
                     std::numeric_limits<double>::infinity()}) {
    SCOPED_TRACE(sum);
    g_phase = kQuarterTurn;
    amplitudes_[0] = sum;
    Block block;
    FillPlaybackBuffer(&block.header, amplitudes_, 0.0f);
    EXPECT_EQ(block.Sample(0), 0);
    EXPECT_EQ(block.Sample(1999), 0);
  }
}

TEST_F(ToneGeneratorTest, ZeroAmplitudesGiveZeroBytesWhileThePhaseStillAdvances) {
  Block silent;
  FillPlaybackBuffer(&silent.header, amplitudes_, 440.0f);
  for (char byte : silent.bytes) ASSERT_EQ(byte, 0);
  const double afterSilence = g_phase;

  g_phase = 0.0;
  amplitudes_[0] = 1.0;
  Block tone;
  FillPlaybackBuffer(&tone.header, amplitudes_, 440.0f);
  EXPECT_EQ(afterSilence, g_phase) << "the phase walk does not depend on the amplitudes";
  EXPECT_GT(afterSilence, 0.0);
}

TEST_F(ToneGeneratorTest, FrequencyZeroHoldsThePhase) {
  g_phase = 1.0;
  amplitudes_[0] = 0.7;
  amplitudes_[2] = 0.2;
  Block block;
  FillPlaybackBuffer(&block.header, amplitudes_, 0.0f);
  EXPECT_EQ(g_phase, 1.0);
  for (int i = 1; i < kPlaybackSamples; ++i) ASSERT_EQ(block.Sample(i), block.Sample(0));
  EXPECT_EQ(block.Sample(0), (static_cast<int>(CompositeSample(1.0, amplitudes_) * 32767.0) >> 8) * 256);
}

TEST_F(ToneGeneratorTest, FullScaleFundamentalSpansTheWholeSampleRange) {
  amplitudes_[0] = 1.0;
  Block block;
  FillPlaybackBuffer(&block.header, amplitudes_, 440.0f);
  int largest = 0;
  int smallest = 0;
  for (int i = 0; i < kPlaybackSamples; ++i) {
    largest = std::max(largest, block.Sample(i));
    smallest = std::min(smallest, block.Sample(i));
  }
  EXPECT_EQ(block.Low(0), 0);
  EXPECT_EQ(block.High(0), 0);
  EXPECT_EQ(largest, 32512);
  EXPECT_EQ(smallest, -32768);
  EXPECT_GE(g_phase, 0.0);
  EXPECT_LE(g_phase, kPhaseWrap);
}

TEST_F(ToneGeneratorTest, HarmonicsAreAddedInOrderWithOneSinePerHarmonic) {
  double a[10];
  for (int k = 0; k < 10; ++k) a[k] = 1.0 / (k + 1);
  const double phase = 0.3;
  double expected = a[0] * std::sin(phase) + a[1] * std::sin(phase * 2.0);
  for (int k = 3; k <= 10; ++k) expected = expected + a[k - 1] * std::sin(phase * k);
  EXPECT_EQ(CompositeSample(phase, a), expected);
}

// A huge fundamental makes sin at the limit (about -1.8e-10) audible, while sin of a
// wrapped phase a few ulps above zero is not.
TEST_F(ToneGeneratorTest, PhaseExactlyAtTheWrapLimitStaysAndOnlyAboveItWraps) {
  const double step = 1.0 * kPhaseStepPerHz;
  double exactStart = kPhaseWrap - step;
  ASSERT_EQ(exactStart + step, kPhaseWrap);
  amplitudes_[0] = 1e9;

  g_phase = exactStart;
  Block stays;
  FillPlaybackBuffer(&stays.header, amplitudes_, 1.0f);
  EXPECT_NE(stays.Sample(1), 0) << "sample 1 is computed at 6.283185307 itself";

  g_phase = std::nextafter(exactStart, 10.0);
  ASSERT_GT(g_phase + step, kPhaseWrap);
  Block wraps;
  FillPlaybackBuffer(&wraps.header, amplitudes_, 1.0f);
  EXPECT_EQ(wraps.Sample(1), 0) << "sample 1 is computed just above 0";
}

TEST_F(ToneGeneratorTest, PhaseStaysWithinTheWrapRangeAtTheHighestFrequency) {
  amplitudes_[4] = 1.0;
  for (int buffer = 0; buffer < 50; ++buffer) {
    Block block;
    FillPlaybackBuffer(&block.header, amplitudes_, 2000.0f);
    ASSERT_GE(g_phase, 0.0);
    ASSERT_LE(g_phase, kPhaseWrap);
  }
}

TEST_F(ToneGeneratorTest, AnalysisFrameClampsAndWeightsWherePlaybackWraps) {
  double weights[kAnalysisSamples];
  for (int i = 0; i < kAnalysisSamples; ++i) weights[i] = 0.5 + i / 256.0;
  double frame[kAnalysisSamples];
  for (double sum : {1.5, -1.5, 0.25}) {
    SCOPED_TRACE(sum);
    g_phase = kQuarterTurn;
    amplitudes_[0] = sum;
    FillAnalysisFrame(frame, amplitudes_, 0.0f, weights);
    const double clamped = std::max(-1.0, std::min(1.0, sum));
    for (int i = 0; i < kAnalysisSamples; ++i) ASSERT_EQ(frame[i], weights[i] * clamped);
  }
}

TEST_F(ToneGeneratorTest, PlaybackAfterAnAnalysisFrameStarts128StepsFurtherOn) {
  amplitudes_[0] = 0.9;
  amplitudes_[1] = 0.3;
  Block straight;
  FillPlaybackBuffer(&straight.header, amplitudes_, 523.0f);

  g_phase = 0.0;
  double weights[kAnalysisSamples];
  double frame[kAnalysisSamples];
  std::fill(std::begin(weights), std::end(weights), 1.0);
  FillAnalysisFrame(frame, amplitudes_, 523.0f, weights);
  Block afterFrame;
  FillPlaybackBuffer(&afterFrame.header, amplitudes_, 523.0f);

  for (int i = 0; i + kAnalysisSamples < kPlaybackSamples; ++i) {
    ASSERT_EQ(afterFrame.Sample(i), straight.Sample(i + kAnalysisSamples)) << i;
  }
}

}  // namespace

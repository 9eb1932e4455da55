// The output stream through its states: no device, streaming, closing, ending.
#include <algorithm>
#include <cmath>

#include "app/main_dialog.h"
#include "app/tone_state.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/headless_audio.h"
#include "sound/tone_generator.h"
#include "sound/wave_stream.h"
#include "sound_fixture.h"

namespace {

constexpr int kSquare = 1008;
constexpr int kSine = 1012;
constexpr int kVowel = 1039;
constexpr int kClear = 1040;
constexpr int kVolumeDown = 1003;
constexpr int kFrequencySlider = 1014;

bool IsSilent(const std::vector<std::int16_t>& samples) {
  return std::all_of(samples.begin(), samples.end(), [](std::int16_t s) { return s == 0; });
}

using WaveStreamTest = SoundTest;

TEST_F(WaveStreamTest, NoSoundAndNoDeviceBeforeTheFirstPreset) {
  EXPECT_EQ(g_hWaveOut, nullptr);
  EXPECT_TRUE(IsSilent(Listen(4000)));
  EXPECT_EQ(s_allocations, 0);
}

TEST_F(WaveStreamTest, FirstPresetOpensOnceAndPlaysTheSecondFillOfBothBlocks) {
  Click(kVowel);
  ASSERT_NE(g_hWaveOut, nullptr);
  EXPECT_EQ(g_streaming, 1);
  EXPECT_EQ(s_allocations, 4);
  EXPECT_EQ(BeepCount(), 0);
  // MM_WOM_OPEN has been handled: the blocks hold the second fill, and both headers
  // were queued once, by the preset.
  const auto block1 = Samples(g_waveData1);
  const auto block2 = Samples(g_waveData2);
  EXPECT_EQ(Listen(kPlaybackSamples * 4, 1), block1);
  const auto refilled1 = Samples(g_waveData1);
  EXPECT_EQ(Listen(kPlaybackSamples * 4, 1), block2) << "header 1 was not queued twice";
  EXPECT_EQ(Listen(kPlaybackSamples * 4, 1), refilled1) << "the refilled header goes to the back";
  EXPECT_EQ(s_allocations, 4) << "nothing is allocated while streaming";
}

TEST_F(WaveStreamTest, StreamNeverBreaksWhileBuffersAreRefilled) {
  Click(kSine);
  // 300 Hz: a lost or repeated buffer (37.5 periods) turns the waveform upside down.
  MainDialogProc(dialog, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 300),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, kFrequencySlider)));
  Pump();
  Listen(kPlaybackSamples * 3, 2);  // the buffers queued before the move
  const auto heard = Listen(16000 * 2);
  ASSERT_EQ(heard.size(), 32000u);
  // Every three neighbouring samples of one sine satisfy s[n-1] + s[n+1] = 2cos(w) s[n];
  // the 8-bit samples miss it by a few steps of 256 at most.
  const double twoCos = 2.0 * std::cos(2.0 * M_PI * 300.0 / 16000.0);
  double worst = 0.0;
  for (std::size_t n = 1; n + 1 < heard.size(); ++n) {
    worst = std::max(worst, std::abs(heard[n - 1] + heard[n + 1] - twoCos * heard[n]));
  }
  EXPECT_LT(worst, 4 * 256.0);
  EXPECT_GT(*std::max_element(heard.begin(), heard.end()), 32000);
}

TEST_F(WaveStreamTest, SecondPresetWhileStreamingRewritesBothBlocksInPlace) {
  Click(kSine);
  HWAVEOUT device = g_hWaveOut;
  WAVEHDR* header1 = g_waveHdr1;
  WAVEHDR* header2 = g_waveHdr2;
  Listen(kPlaybackSamples / 2);
  Click(kSquare);
  EXPECT_EQ(g_hWaveOut, device) << "no second open";
  EXPECT_EQ(g_waveHdr1, header1);
  EXPECT_EQ(g_waveHdr2, header2);
  EXPECT_EQ(s_allocations, 4);
  // Header 1 is half played: the rest of it is heard from the rewritten block.
  const auto rewritten1 = Samples(g_waveData1);
  const auto rest = Listen(kPlaybackSamples, 1);
  ASSERT_EQ(rest.size(), static_cast<std::size_t>(kPlaybackSamples / 2));
  EXPECT_TRUE(std::equal(rest.begin(), rest.end(), rewritten1.begin() + kPlaybackSamples / 2));
}

TEST_F(WaveStreamTest, SliderAndVolumeChangesAreHeardAtTheNextRefill) {
  Click(kSine);
  const auto queued2 = Samples(g_waveData2);
  Listen(kPlaybackSamples, 1);  // header 1 played and refilled at full volume
  Click(kVolumeDown);
  EXPECT_EQ(Listen(kPlaybackSamples, 1), queued2) << "a queued buffer is not touched";
  const auto afterVolume = Samples(g_waveData2);
  EXPECT_LT(*std::max_element(afterVolume.begin(), afterVolume.end()), 32512 * 0.8);
}

TEST_F(WaveStreamTest, ClearWhileStreamingStopsAtOnceAndReleasesAtClose) {
  Click(kSine);
  HWAVEOUT first = g_hWaveOut;
  Listen(500);
  Click(kClear);
  EXPECT_EQ(g_streaming, 0);
  EXPECT_EQ(g_hWaveOut, nullptr) << "MM_WOM_CLOSE has been handled";
  EXPECT_TRUE(s_held.empty());
  EXPECT_TRUE(IsSilent(Listen(8000)));

  Click(kSquare);
  EXPECT_NE(g_hWaveOut, nullptr);
  EXPECT_NE(g_hWaveOut, first) << "a new device";
  EXPECT_EQ(s_allocations, 8) << "with new blocks";
  EXPECT_FALSE(IsSilent(Listen(4000)));
}

TEST_F(WaveStreamTest, ClearBeforeAnyPresetDoesNothingAudible) {
  Click(kClear);
  EXPECT_EQ(g_streaming, 0);
  EXPECT_EQ(g_hWaveOut, nullptr);
  EXPECT_EQ(BeepCount(), 0);
  Click(kSine);
  EXPECT_NE(g_hWaveOut, nullptr);
  EXPECT_FALSE(IsSilent(Listen(4000)));
}

TEST_F(WaveStreamTest, ClosingStateLastsUntilItsNotificationsAreHandled) {
  Click(kSine);
  MainDialogProc(dialog, WM_COMMAND, kClear, 0);
  HWAVEOUT closed = g_hWaveOut;
  EXPECT_NE(closed, nullptr) << "the handle stays until MM_WOM_CLOSE";
  EXPECT_EQ(g_streaming, 0);
  EXPECT_EQ(s_held.size(), 4u);
  Pump();  // two MM_WOM_DONE (each closing the closed handle again), then MM_WOM_CLOSE
  EXPECT_EQ(g_hWaveOut, nullptr);
  EXPECT_TRUE(s_held.empty());
}

TEST_F(WaveStreamTest, PresetWhileClosingQueuesNothingAndTheNextPresetOpens) {
  Click(kSine);
  MainDialogProc(dialog, WM_COMMAND, kClear, 0);
  MainDialogProc(dialog, WM_COMMAND, kSquare, 0);  // before MM_WOM_CLOSE is handled
  EXPECT_EQ(g_streaming, 0);
  Pump();
  EXPECT_EQ(g_hWaveOut, nullptr);
  EXPECT_TRUE(s_held.empty());
  EXPECT_TRUE(IsSilent(Listen(8000)));
  EXPECT_EQ(BeepCount(), 0);

  Click(kSquare);
  EXPECT_EQ(g_streaming, 1);
  EXPECT_FALSE(IsSilent(Listen(4000)));
}

TEST_F(WaveStreamTest, FailedOpenBeepsOnceHoldsNothingAndTheNextPresetTriesAgain) {
  tv::headless::FailNextWaveOpen();
  Click(kSine);
  EXPECT_EQ(BeepCount(), 1);
  EXPECT_EQ(tv::headless::Backend().Beeps().front(), MB_ICONEXCLAMATION);
  EXPECT_EQ(g_hWaveOut, nullptr);
  EXPECT_EQ(g_streaming, 0);
  EXPECT_TRUE(s_held.empty());
  EXPECT_EQ(s_allocations, 4);
  EXPECT_TRUE(IsSilent(Listen(8000)));

  Click(kSquare);
  EXPECT_EQ(BeepCount(), 1);
  EXPECT_NE(g_hWaveOut, nullptr);
  EXPECT_FALSE(IsSilent(Listen(4000)));
}

TEST_F(WaveStreamTest, FailedAllocationReleasesWhatWasObtainedAndBeeps) {
  for (int failing = 1; failing <= 4; ++failing) {
    SCOPED_TRACE(failing);
    s_allocations = 0;
    s_failAllocation = failing;
    tv::headless::Backend().Reset();
    EXPECT_EQ(OpenWaveOut(dialog), 1);
    EXPECT_EQ(BeepCount(), 1);
    EXPECT_EQ(g_hWaveOut, nullptr);
    EXPECT_TRUE(s_held.empty());
  }
  s_failAllocation = 0;
  s_allocations = 0;
  Click(kSine);
  EXPECT_NE(g_hWaveOut, nullptr) << "a preset after a failed allocation opens normally";
}

TEST_F(WaveStreamTest, ClosingTheWindowWhileStreamingStopsAtOnceAndExitReleasesAll) {
  Click(kSine);
  Listen(300);
  CloseWindow();
  EXPECT_TRUE(IsSilent(Listen(8000)));
  ASSERT_NE(g_hWaveOut, nullptr) << "the device stays open until the loop has ended";
  CloseWaveOut();
  EXPECT_EQ(g_hWaveOut, nullptr);
  EXPECT_TRUE(s_held.empty());
}

TEST_F(WaveStreamTest, ClosingTheWindowAfterClearLeavesNothingForExit) {
  Click(kSine);
  Click(kClear);
  CloseWindow();
  EXPECT_EQ(g_hWaveOut, nullptr);
  EXPECT_TRUE(s_held.empty());
}

TEST_F(WaveStreamTest, ReopenedDeviceRestartsCleanlyAfterEveryKindOfStop) {
  // Clear, failed open, clear again: the stream always comes back with one device.
  Click(kSine);
  Click(kClear);
  tv::headless::FailNextWaveOpen();
  Click(kSquare);
  Click(kClear);
  Click(kClear);
  Click(kSquare);
  EXPECT_EQ(g_streaming, 1);
  EXPECT_EQ(s_held.size(), 4u);
  EXPECT_FALSE(IsSilent(Listen(4000)));
}

}  // namespace

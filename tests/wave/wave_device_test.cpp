// The device as the streaming code relies on it: queue order, refusal of a header that
// is still queued, reset, the notifications, and stale handles.
#include <gtest/gtest.h>

#include "platform/wave/wave_device_table.h"
#include "wave_test_support.h"

namespace tv::testing {
namespace {

using Samples = std::vector<std::int16_t>;

class WaveDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(OpenWaveDevice(std::move(sink_.owned), log_.Notifier(), &device_), MMSYSERR_NOERROR);
    ASSERT_EQ(log_.Take(), std::vector{Open(device_)});
  }
  void TearDown() override { ForgetWaveDevices(); }

  MMRESULT PrepareAndWrite(TestBuffer& buffer) {
    waveOutPrepareHeader(device_, &buffer.header, sizeof(WAVEHDR));
    return waveOutWrite(device_, &buffer.header, sizeof(WAVEHDR));
  }

  NotificationLog log_;
  SinkHandle sink_;
  HWAVEOUT device_ = nullptr;
};

TEST_F(WaveDeviceTest, PlaysQueuedHeadersInOrderThenSilence) {
  TestBuffer first(Ramp(100, 3));
  TestBuffer second(Ramp(200, 2));
  ASSERT_EQ(PrepareAndWrite(first), MMSYSERR_NOERROR);
  ASSERT_EQ(PrepareAndWrite(second), MMSYSERR_NOERROR);

  EXPECT_EQ(Play(*sink_.sink, 2), (Samples{100, 101}));
  EXPECT_TRUE(log_.Take().empty()) << "no header is done halfway through";
  EXPECT_EQ(Play(*sink_.sink, 5), (Samples{102, 200, 201, 0, 0}));
  EXPECT_EQ(log_.Take(), (std::vector{Done(device_, &first.header), Done(device_, &second.header)}));
  EXPECT_EQ(first.header.dwFlags & (WHDR_DONE | WHDR_INQUEUE | WHDR_PREPARED),
            WHDR_DONE | WHDR_PREPARED);
}

TEST_F(WaveDeviceTest, StopsRightAfterAHeaderEndsWhenAskedTo) {
  TestBuffer first(Ramp(1, 3));
  TestBuffer second(Ramp(10, 3));
  PrepareAndWrite(first);
  PrepareAndWrite(second);
  Samples out(8);
  const PullResult pulled = sink_.sink->Play(out.data(), out.size(), true);
  EXPECT_EQ(pulled.frames, 3u);
  EXPECT_TRUE(pulled.headerFinished);
  EXPECT_EQ(log_.Take(), std::vector{Done(device_, &first.header)});
}

TEST_F(WaveDeviceTest, HeaderStillQueuedIsRefusedAndKeepsItsPlaceInTheQueue) {
  TestBuffer first(Ramp(100, 2));
  TestBuffer second(Ramp(200, 2));
  PrepareAndWrite(first);
  PrepareAndWrite(second);

  EXPECT_EQ(waveOutWrite(device_, &first.header, sizeof(WAVEHDR)), WAVERR_STILLPLAYING);
  EXPECT_EQ(Play(*sink_.sink, 6), (Samples{100, 101, 200, 201, 0, 0}))
      << "the refused header is neither queued twice nor moved to the back";
  EXPECT_EQ(log_.Take(), (std::vector{Done(device_, &first.header), Done(device_, &second.header)}));
}

TEST_F(WaveDeviceTest, BlockRewrittenWhileQueuedPlaysItsNewSamplesFromThePlayingPoint) {
  TestBuffer buffer(Ramp(100, 4));
  PrepareAndWrite(buffer);
  EXPECT_EQ(Play(*sink_.sink, 1), Samples{100});
  buffer.Rewrite(Ramp(500, 4));
  EXPECT_EQ(waveOutWrite(device_, &buffer.header, sizeof(WAVEHDR)), WAVERR_STILLPLAYING);
  EXPECT_EQ(Play(*sink_.sink, 4), (Samples{501, 502, 503, 0}));
}

TEST_F(WaveDeviceTest, HeaderHandedBackCanBeQueuedAgain) {
  TestBuffer buffer(Ramp(7, 1));
  PrepareAndWrite(buffer);
  Play(*sink_.sink, 1);
  EXPECT_EQ(waveOutWrite(device_, &buffer.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
  EXPECT_EQ(Play(*sink_.sink, 2), (Samples{7, 0}));
  EXPECT_EQ(log_.Take().size(), 2u);
}

TEST_F(WaveDeviceTest, ResetHandsBackEveryQueuedHeaderInQueueOrderAndStopsAtOnce) {
  TestBuffer first(Ramp(100, 4));
  TestBuffer second(Ramp(200, 4));
  PrepareAndWrite(second);
  PrepareAndWrite(first);
  Play(*sink_.sink, 1);

  EXPECT_EQ(waveOutReset(device_), MMSYSERR_NOERROR);
  EXPECT_EQ(log_.Take(), (std::vector{Done(device_, &second.header), Done(device_, &first.header)}));
  EXPECT_EQ(Play(*sink_.sink, 3), (Samples{0, 0, 0}));
  for (const WAVEHDR* header : {&first.header, &second.header}) {
    EXPECT_EQ(header->dwFlags & (WHDR_DONE | WHDR_INQUEUE), WHDR_DONE);
  }
  EXPECT_EQ(waveOutReset(device_), MMSYSERR_NOERROR);
  EXPECT_TRUE(log_.Take().empty()) << "a reset of an empty queue hands nothing back";
}

TEST_F(WaveDeviceTest, UnpreparedHeaderIsRefusedAndQueuedHeaderCannotBeUnprepared) {
  TestBuffer buffer(Ramp(1, 2));
  EXPECT_EQ(waveOutWrite(device_, &buffer.header, sizeof(WAVEHDR)), WAVERR_UNPREPARED);
  PrepareAndWrite(buffer);
  EXPECT_EQ(waveOutUnprepareHeader(device_, &buffer.header, sizeof(WAVEHDR)), WAVERR_STILLPLAYING);
  EXPECT_NE(buffer.header.dwFlags & WHDR_PREPARED, 0u);
  waveOutReset(device_);
  EXPECT_EQ(waveOutUnprepareHeader(device_, &buffer.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
  EXPECT_EQ(buffer.header.dwFlags & WHDR_PREPARED, 0u);
}

TEST_F(WaveDeviceTest, HeaderArgumentsAreChecked) {
  TestBuffer buffer(Ramp(1, 2));
  EXPECT_EQ(waveOutPrepareHeader(device_, nullptr, sizeof(WAVEHDR)), MMSYSERR_INVALPARAM);
  EXPECT_EQ(waveOutPrepareHeader(device_, &buffer.header, sizeof(WAVEHDR) - 1), MMSYSERR_INVALPARAM);
  EXPECT_EQ(waveOutWrite(device_, nullptr, sizeof(WAVEHDR)), MMSYSERR_INVALPARAM);
  EXPECT_EQ(buffer.header.dwFlags, 0u);
}

TEST_F(WaveDeviceTest, CloseWaitsForAnEmptyQueueThenSendsCloseOnce) {
  TestBuffer buffer(Ramp(1, 2));
  PrepareAndWrite(buffer);
  EXPECT_EQ(waveOutClose(device_), WAVERR_STILLPLAYING);
  EXPECT_TRUE(log_.Take().empty());
  waveOutReset(device_);
  log_.Take();
  EXPECT_EQ(waveOutClose(device_), MMSYSERR_NOERROR);
  EXPECT_EQ(log_.Take(), std::vector{Close(device_)});
  EXPECT_EQ(waveOutClose(device_), MMSYSERR_INVALHANDLE);
  EXPECT_TRUE(log_.Take().empty()) << "MM_WOM_CLOSE comes once";
}

TEST_F(WaveDeviceTest, NullAndClosedHandlesFailAndChangeNothing) {
  TestBuffer buffer(Ramp(1, 2));
  waveOutPrepareHeader(device_, &buffer.header, sizeof(WAVEHDR));
  ASSERT_EQ(waveOutClose(device_), MMSYSERR_NOERROR);
  log_.Take();

  for (HWAVEOUT stale : {static_cast<HWAVEOUT>(nullptr), device_}) {
    SCOPED_TRACE(stale == nullptr ? "null handle" : "closed handle");
    const DWORD flagsBefore = buffer.header.dwFlags;
    EXPECT_EQ(waveOutPrepareHeader(stale, &buffer.header, sizeof(WAVEHDR)), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(waveOutWrite(stale, &buffer.header, sizeof(WAVEHDR)), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(waveOutUnprepareHeader(stale, &buffer.header, sizeof(WAVEHDR)), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(waveOutReset(stale), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(waveOutClose(stale), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(buffer.header.dwFlags, flagsBefore);
  }
  EXPECT_TRUE(log_.Take().empty());
}

TEST_F(WaveDeviceTest, HandlesAreNeverReused) {
  ASSERT_EQ(waveOutClose(device_), MMSYSERR_NOERROR);
  HWAVEOUT previous = device_;
  for (int i = 0; i < 3; ++i) {
    HWAVEOUT next = nullptr;
    ASSERT_EQ(OpenWaveDevice(std::make_unique<SimulatedWaveSink>(), log_.Notifier(), &next),
              MMSYSERR_NOERROR);
    EXPECT_NE(next, nullptr);
    EXPECT_NE(next, device_);
    EXPECT_NE(next, previous);
    ASSERT_EQ(waveOutClose(next), MMSYSERR_NOERROR);
    previous = next;
  }
  EXPECT_EQ(waveOutReset(device_), MMSYSERR_INVALHANDLE);
}

}  // namespace
}  // namespace tv::testing

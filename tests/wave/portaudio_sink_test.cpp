// The sound-card sink. On a machine without a usable output device (the usual case for
// automated runs) opening must fail cleanly; with one, it must play the queued headers in
// real time and hand them back.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/wave/portaudio/portaudio_wave_sink.h"
#include "platform/wave/wave_device_table.h"
#include "wave_test_support.h"

namespace tv::testing {
namespace {

TEST(PortAudioSink, OpensAndPlaysOrFailsCleanlyWithoutAnOutputDevice) {
  NotificationLog log;
  HWAVEOUT device = nullptr;
  const MMRESULT opened = OpenWaveDevice(CreatePortAudioWaveSink(), log.Notifier(), &device);
  if (opened != MMSYSERR_NOERROR) {
    EXPECT_EQ(opened, MMSYSERR_NODRIVER);
    EXPECT_EQ(device, nullptr);
    EXPECT_TRUE(log.All().empty());
    return;
  }
  // 1600 samples are 100 ms; both headers must be back well within two seconds.
  TestBuffer first(std::vector<std::int16_t>(1600, 0));
  TestBuffer second(std::vector<std::int16_t>(1600, 0));
  for (TestBuffer* buffer : {&first, &second}) {
    waveOutPrepareHeader(device, &buffer->header, sizeof(WAVEHDR));
    ASSERT_EQ(waveOutWrite(device, &buffer->header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (log.All().size() < 3 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(log.All(), (std::vector{Open(device), Done(device, &first.header),
                                    Done(device, &second.header)}));
  EXPECT_EQ(waveOutClose(device), MMSYSERR_NOERROR);
  EXPECT_EQ(log.All().back(), Close(device));
}

}  // namespace
}  // namespace tv::testing

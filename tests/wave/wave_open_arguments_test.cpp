// What an open refuses before any sink is started, and a sink that cannot start.
#include <gtest/gtest.h>

#include "platform/wave/wave_device_table.h"
#include "wave_test_support.h"

namespace tv::testing {
namespace {

WAVEFORMATEX PlayedFormat() {
  return WAVEFORMATEX{WAVE_FORMAT_PCM, 1, 16000, 32000, 2, 16, 0};
}

struct ArgumentCase {
  const char* what;
  UINT deviceId;
  void (*change)(WAVEFORMATEX&);
  DWORD flags;
  MMRESULT expected;
};

const ArgumentCase kArgumentCases[] = {
    {"the played format", WAVE_MAPPER, [](WAVEFORMATEX&) {}, CALLBACK_WINDOW, MMSYSERR_NOERROR},
    {"device 0", 0, [](WAVEFORMATEX&) {}, CALLBACK_WINDOW, MMSYSERR_NOERROR},
    {"device 1", 1, [](WAVEFORMATEX&) {}, CALLBACK_WINDOW, MMSYSERR_BADDEVICEID},
    {"stereo", WAVE_MAPPER, [](WAVEFORMATEX& f) { f.nChannels = 2; }, CALLBACK_WINDOW, WAVERR_BADFORMAT},
    {"44.1 kHz", WAVE_MAPPER, [](WAVEFORMATEX& f) { f.nSamplesPerSec = 44100; }, CALLBACK_WINDOW, WAVERR_BADFORMAT},
    {"8-bit", WAVE_MAPPER, [](WAVEFORMATEX& f) { f.wBitsPerSample = 8; }, CALLBACK_WINDOW, WAVERR_BADFORMAT},
    {"not PCM", WAVE_MAPPER, [](WAVEFORMATEX& f) { f.wFormatTag = 3; }, CALLBACK_WINDOW, WAVERR_BADFORMAT},
    {"block align", WAVE_MAPPER, [](WAVEFORMATEX& f) { f.nBlockAlign = 4; }, CALLBACK_WINDOW, WAVERR_BADFORMAT},
    {"byte rate", WAVE_MAPPER, [](WAVEFORMATEX& f) { f.nAvgBytesPerSec = 16000; }, CALLBACK_WINDOW, WAVERR_BADFORMAT},
    {"no callback", WAVE_MAPPER, [](WAVEFORMATEX&) {}, 0, MMSYSERR_INVALFLAG},
    {"function callback", WAVE_MAPPER, [](WAVEFORMATEX&) {}, 0x00030000, MMSYSERR_INVALFLAG},
};

TEST(WaveOpenArguments, OnlyTheOnePlayedFormatWithWindowNotificationsIsAccepted) {
  HWAVEOUT device = nullptr;
  const DWORD_PTR window = 0x1234;
  for (const ArgumentCase& c : kArgumentCases) {
    SCOPED_TRACE(c.what);
    WAVEFORMATEX format = PlayedFormat();
    c.change(format);
    EXPECT_EQ(CheckWaveOpenArguments(&device, c.deviceId, &format, window, c.flags), c.expected);
  }
  const WAVEFORMATEX format = PlayedFormat();
  EXPECT_EQ(CheckWaveOpenArguments(nullptr, WAVE_MAPPER, &format, window, CALLBACK_WINDOW),
            MMSYSERR_INVALPARAM);
  EXPECT_EQ(CheckWaveOpenArguments(&device, WAVE_MAPPER, nullptr, window, CALLBACK_WINDOW),
            MMSYSERR_INVALPARAM);
  EXPECT_EQ(CheckWaveOpenArguments(&device, WAVE_MAPPER, &format, 0, CALLBACK_WINDOW),
            MMSYSERR_INVALPARAM);
}

class SinkThatCannotStart final : public WaveSink {
 public:
  bool Start(WaveSource&) override { return false; }
  void Stop() override {}
};

TEST(WaveOpen, WithoutAUsableSinkFailsLeavesTheHandleAndSendsNothing) {
  NotificationLog log;
  HWAVEOUT device = nullptr;
  EXPECT_EQ(OpenWaveDevice(nullptr, log.Notifier(), &device), MMSYSERR_NODRIVER);
  EXPECT_EQ(OpenWaveDevice(std::make_unique<SinkThatCannotStart>(), log.Notifier(), &device),
            MMSYSERR_NODRIVER);
  EXPECT_EQ(device, nullptr);
  EXPECT_TRUE(log.All().empty());
}

}  // namespace
}  // namespace tv::testing

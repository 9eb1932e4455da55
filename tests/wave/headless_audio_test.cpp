// The headless backend's audio clock: devices open through waveOutOpen, time passes only
// when advanced, and a recording holds what a listener would have heard.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/core/window_manager.h"
#include "platform/headless/headless_audio.h"
#include "wave_test_support.h"

namespace tv::testing {
namespace {

class HeadlessAudioTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetWindowManager();
    headless::ResetAudio();
  }
  void TearDown() override { headless::ResetAudio(); }

  // Any non-null window: what is posted to an unknown window is dropped.
  HWAVEOUT OpenDevice() {
    const WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, 16000, 32000, 2, 16, 0};
    HWAVEOUT device = nullptr;
    EXPECT_EQ(waveOutOpen(&device, WAVE_MAPPER, &format, 0x77, 0, CALLBACK_WINDOW), MMSYSERR_NOERROR);
    return device;
  }
};

std::vector<std::int16_t> ReadWav(const std::string& path) {
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (file == nullptr) return {};
  EXPECT_EQ(info.samplerate, 16000);
  EXPECT_EQ(info.channels, 1);
  EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  std::vector<std::int16_t> samples(static_cast<std::size_t>(info.frames));
  sf_read_short(file, samples.data(), info.frames);
  sf_close(file);
  return samples;
}

TEST_F(HeadlessAudioTest, AdvanceStopsRightAfterEachPlayedHeader) {
  HWAVEOUT device = OpenDevice();
  TestBuffer first(Ramp(1, 300));
  TestBuffer second(Ramp(1, 500));
  for (TestBuffer* buffer : {&first, &second}) {
    waveOutPrepareHeader(device, &buffer->header, sizeof(WAVEHDR));
    waveOutWrite(device, &buffer->header, sizeof(WAVEHDR));
  }
  EXPECT_EQ(headless::AdvanceAudio(5000), 300);
  EXPECT_EQ(headless::AdvanceAudio(5000), 500);
  EXPECT_EQ(headless::AdvanceAudio(5000), 5000) << "an empty queue plays silence";
  EXPECT_EQ(first.header.dwFlags & WHDR_DONE, WHDR_DONE);
}

TEST_F(HeadlessAudioTest, TimeWithoutADeviceSimplyPasses) {
  EXPECT_EQ(headless::AdvanceAudio(12345), 12345);
}

TEST_F(HeadlessAudioTest, FailNextOpenFailsOneOpenOnly) {
  headless::FailNextWaveOpen();
  const WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, 16000, 32000, 2, 16, 0};
  HWAVEOUT device = nullptr;
  EXPECT_NE(waveOutOpen(&device, WAVE_MAPPER, &format, 0x77, 0, CALLBACK_WINDOW), MMSYSERR_NOERROR);
  EXPECT_EQ(device, nullptr);
  EXPECT_NE(OpenDevice(), nullptr);
}

TEST_F(HeadlessAudioTest, RecordingHoldsPlayedSamplesAndSilenceInTimeOrder) {
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("tonvela-record-" + std::to_string(::getpid()) + ".wav")).string();
  std::string error;
  ASSERT_TRUE(headless::StartRecording(path, &error)) << error;
  headless::AdvanceAudio(3);  // no device yet
  HWAVEOUT device = OpenDevice();
  headless::AdvanceAudio(2);  // open, nothing queued
  TestBuffer buffer(Ramp(-2, 4));
  waveOutPrepareHeader(device, &buffer.header, sizeof(WAVEHDR));
  waveOutWrite(device, &buffer.header, sizeof(WAVEHDR));
  headless::AdvanceAudio(10);
  headless::AdvanceAudio(1);
  ASSERT_TRUE(headless::StopRecording(&error)) << error;
  headless::AdvanceAudio(50);  // after the recording

  EXPECT_EQ(ReadWav(path), (std::vector<std::int16_t>{0, 0, 0, 0, 0, -2, -1, 0, 1, 0}));
  std::filesystem::remove(path);
}

TEST_F(HeadlessAudioTest, RecordingIntoAMissingFolderFailsWithAMessage) {
  std::string error;
  EXPECT_FALSE(headless::StartRecording("/nonexistent-folder/x.wav", &error));
  EXPECT_FALSE(error.empty());
}

TEST_F(HeadlessAudioTest, ResetForgetsOpenDevices) {
  HWAVEOUT device = OpenDevice();
  headless::ResetAudio();
  EXPECT_EQ(waveOutReset(device), MMSYSERR_INVALHANDLE);
  EXPECT_EQ(headless::AdvanceAudio(100), 100);
}

}  // namespace
}  // namespace tv::testing

#include "sound_fixture.h"

#include <sndfile.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "app/main_dialog.h"
#include "app/tone_state.h"
#include "platform/core/window_manager.h"
#include "platform/headless/headless_audio.h"
#include "platform/headless/headless_backend.h"
#include "sound/tone_generator.h"
#include "sound/wave_stream.h"
#include "support/program_state.h"

std::set<void*> SoundTest::s_held;
int SoundTest::s_allocations = 0;
int SoundTest::s_failAllocation = 0;

namespace {

void* CountingMalloc(std::size_t size) {
  if (++SoundTest::s_allocations == SoundTest::s_failAllocation) return nullptr;
  void* block = std::malloc(size);
  SoundTest::s_held.insert(block);
  return block;
}

void CountingFree(void* block) {
  if (block != nullptr) {
    EXPECT_EQ(SoundTest::s_held.erase(block), 1u) << "freed twice or never obtained";
  }
  std::free(block);
}

void ResetProcess() { tv::testing::ResetProgramState(); }

}  // namespace

void SoundTest::SetUp() {
  ResetProcess();
  s_held.clear();
  s_allocations = 0;
  s_failAllocation = 0;
  g_waveMalloc = CountingMalloc;
  g_waveFree = CountingFree;
  dialog = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(kMainDialogResourceId), nullptr,
                              MainDialogProc, 0);
  ASSERT_NE(dialog, nullptr);
  Pump();
}

void SoundTest::TearDown() {
  if (tv::FindWindowState(dialog) != nullptr) CloseWindow();
  if (g_hWaveOut != nullptr) CloseWaveOut();
  // A test that stopped between Clear and MM_WOM_CLOSE still holds the blocks.
  FreeWaveBlocks();
  EXPECT_TRUE(s_held.empty()) << s_held.size() << " playback blocks leaked";
  g_waveMalloc = std::malloc;
  g_waveFree = std::free;
  ResetProcess();
}

void SoundTest::Click(int id) {
  MainDialogProc(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
  Pump();
}

void SoundTest::Pump() { tv::testing::PumpUntilIdle(); }

std::vector<std::int16_t> SoundTest::Listen(std::int64_t samples, int headers) {
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("tonvela-sound-test-" + std::to_string(::getpid()) + ".wav"))
                               .string();
  std::string error;
  EXPECT_TRUE(tv::headless::StartRecording(path, &error)) << error;
  while (samples > 0 && headers != 0) {
    const std::int64_t played = tv::headless::AdvanceAudio(samples);
    samples -= played;
    if (tv::HasQueuedMessages()) --headers;  // a header was handed back
    Pump();
  }
  EXPECT_TRUE(tv::headless::StopRecording(&error)) << error;

  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  std::vector<std::int16_t> heard(file ? static_cast<std::size_t>(info.frames) : 0);
  if (file != nullptr) {
    sf_read_short(file, heard.data(), info.frames);
    sf_close(file);
  }
  std::filesystem::remove(path);
  return heard;
}

void SoundTest::CloseWindow() {
  MainDialogProc(dialog, WM_CLOSE, 0, 0);
  Pump();
}

std::string SoundTest::Text(int id) { return tv::FindWindowState(GetDlgItem(dialog, id))->text; }

int SoundTest::BeepCount() { return static_cast<int>(tv::headless::Backend().Beeps().size()); }

std::vector<std::int16_t> SoundTest::Samples(const char* block) {
  std::vector<std::int16_t> samples(kPlaybackSamples);
  const auto* bytes = reinterpret_cast<const unsigned char*>(block);
  for (int i = 0; i < kPlaybackSamples; ++i) {
    samples[i] = static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8)));
  }
  return samples;
}

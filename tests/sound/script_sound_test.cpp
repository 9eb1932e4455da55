// The script driver end to end: a recording of its run is what a listener would hear.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

class ScriptSoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("tonvela-script-sound-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  // Runs the driver on the script, whose `record` line is put first, and returns the
  // recording.
  std::vector<double> RunAndRecord(const std::string& script) {
    const auto wav = folder_ / "heard.wav";
    const auto input = folder_ / "script.txt";
    std::ofstream(input) << "record " << wav.string() << '\n' << script;
    const std::string command = std::string(TONVELA_SCRIPT_PATH) + " < " + input.string() +
                                " > " + (folder_ / "out.txt").string() + " 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
    SF_INFO info{};
    SNDFILE* file = sf_open(wav.c_str(), SFM_READ, &info);
    EXPECT_NE(file, nullptr);
    if (file == nullptr) return {};
    std::vector<double> samples(static_cast<std::size_t>(info.frames));
    sf_read_double(file, samples.data(), info.frames);
    sf_close(file);
    return samples;
  }

  std::filesystem::path folder_;
};

// Amplitude of the component at `hz` over whole periods of the samples [begin, end).
double Amplitude(const std::vector<double>& s, std::size_t begin, std::size_t end, double hz) {
  double re = 0.0;
  double im = 0.0;
  for (std::size_t n = begin; n < end; ++n) {
    const double angle = 2.0 * M_PI * hz * static_cast<double>(n - begin) / 16000.0;
    re += s[n] * std::cos(angle);
    im += s[n] * std::sin(angle);
  }
  return 2.0 * std::hypot(re, im) / static_cast<double>(end - begin);
}

TEST_F(ScriptSoundTest, SinePresetPlaysASteady440HzSine) {
  const auto heard = RunAndRecord("click 1012\nplay 1\n");
  ASSERT_EQ(heard.size(), 16000u);
  // 4000 samples are 110 whole periods of 440 Hz.
  const double first = Amplitude(heard, 0, 4000, 440.0);
  EXPECT_NEAR(first, 1.0, 0.01);
  for (std::size_t begin = 4000; begin < 16000; begin += 4000) {
    EXPECT_NEAR(Amplitude(heard, begin, begin + 4000, 440.0), first, 0.002) << begin;
  }
  for (int k = 2; k <= 10; ++k) EXPECT_LT(Amplitude(heard, 0, 16000, 440.0 * k), 0.01) << k;
}

TEST_F(ScriptSoundTest, SquarePresetAfterTwoVolumeStepsHasTheOddHarmonicsOfASquareWave) {
  const auto heard = RunAndRecord("click 1003\nclick 1003\nclick 1008\nplay 1\n");
  ASSERT_EQ(heard.size(), 16000u);
  const double fundamental = Amplitude(heard, 0, 16000, 440.0);
  EXPECT_NEAR(fundamental, 0.630436, 0.01);
  for (int k = 2; k <= 10; ++k) {
    const double expected = k % 2 == 1 ? 1.0 / k : 0.0;
    EXPECT_NEAR(Amplitude(heard, 0, 16000, 440.0 * k) / fundamental, expected, 0.01) << k;
  }
}

TEST_F(ScriptSoundTest, ClearSilencesTheTone) {
  const auto heard = RunAndRecord("click 1012\nplay 0.5\nclick 1040\nplay 0.5\n");
  ASSERT_EQ(heard.size(), 16000u);
  EXPECT_GT(Amplitude(heard, 0, 8000, 440.0), 0.9);
  for (std::size_t n = 8000; n < heard.size(); ++n) ASSERT_EQ(heard[n], 0.0) << n;
}

TEST_F(ScriptSoundTest, FailedOpenIsSilentAndTheNextPresetPlays) {
  const auto heard = RunAndRecord("fail-open\nclick 1012\nplay 0.25\nclick 1012\nplay 0.25\n");
  ASSERT_EQ(heard.size(), 8000u);
  for (std::size_t n = 0; n < 4000; ++n) ASSERT_EQ(heard[n], 0.0) << n;
  EXPECT_GT(Amplitude(heard, 4000, 8000, 440.0), 0.9);
}

}  // namespace

// The README's examples for teachers, run as written from a copy of docs/teachers: each
// makes the very pictures that the README shows.
#include <gtest/gtest.h>

#include "run_program.h"

namespace tv::cli_test {
namespace {

namespace fs = std::filesystem;

const fs::path kExamples = fs::path(TONVELA_SOURCE_DIR) / "docs/teachers";

struct Example {
  const char* script;
  std::vector<const char*> pictures;
  std::vector<const char*> printed;  // lines it prints, in order
};

TEST(TeachersExamples, EachScriptMakesThePicturesShownInTheReadme) {
  const Example examples[] = {
      {"square-wave.txt", {"square-wave.png"}, {}},
      {"vowel-a.txt",
       {"vowel-a-spectrum.png"},
       {"1025\t振幅=0.25 パワー=0.06  -12.04 [dB]\n", "1033\t振幅=0.25 パワー=0.06  -12.04 [dB]\n"}},
      {"volume-and-clipping.txt",
       {"louder-clipped.png", "back-within-range.png"},
       {"1038\t警告！　複合波が歪みました。音量を落として下さい。\n", "1038\t\n"}},
  };
  const std::string readme = ReadWhole(fs::path(TONVELA_SOURCE_DIR) / "README.md");
  for (const Example& example : examples) {
    SCOPED_TRACE(example.script);
    ScratchDir dir;
    fs::copy_file(kExamples / example.script, dir / example.script);
    const ProgramRun run = RunProgram({TONVELA_SCRIPT_EXE, example.script}, "", dir.path());
    ASSERT_EQ(run.status, 0) << run.err;
    std::size_t at = 0;
    for (const char* line : example.printed) {
      at = run.out.find(line, at);
      EXPECT_NE(at, std::string::npos) << line << "\nin\n" << run.out;
    }
    for (const char* picture : example.pictures) {
      SCOPED_TRACE(picture);
      // Byte for byte: the same pixels through the same encoder. Should the fonts or the
      // style change on purpose, run the script in docs/teachers to renew the pictures.
      EXPECT_TRUE(ReadWhole(dir / picture) == ReadWhole(kExamples / picture))
          << "the script made another picture than docs/teachers/" << picture;
      EXPECT_NE(readme.find(std::string("](docs/teachers/") + picture + ")"), std::string::npos);
    }
    // The README quotes the script as it is.
    std::string script = ReadWhole(kExamples / example.script);
    std::string commands;
    std::istringstream lines(script);
    for (std::string line; std::getline(lines, line);) {
      if (!line.empty() && line[0] != '#') commands += line + "\n";
    }
    EXPECT_NE(readme.find("```\n" + commands + "```"), std::string::npos) << commands;
  }
}

TEST(TeachersExamples, TheSquareWaveSoundLastsTwoSecondsAndStartsAndEndsInSilence) {
  ScratchDir dir;
  fs::copy_file(kExamples / "square-wave.txt", dir / "square-wave.txt");
  ASSERT_EQ(RunProgram({TONVELA_SCRIPT_EXE, "square-wave.txt"}, "", dir.path()).status, 0);
  const std::string wav = ReadWhole(dir / "square-wave.wav");
  ASSERT_GT(wav.size(), 44u);
  const std::size_t data = wav.find("data");
  ASSERT_NE(data, std::string::npos);
  const std::size_t samples = (wav.size() - data - 8) / 2;
  EXPECT_EQ(samples, 32000u);
  auto sample = [&](std::size_t i) {
    return static_cast<std::int16_t>(static_cast<unsigned char>(wav[data + 8 + 2 * i]) |
                                     (static_cast<unsigned char>(wav[data + 9 + 2 * i]) << 8));
  };
  EXPECT_LT(std::abs(sample(0)), 200);
  EXPECT_LT(std::abs(sample(samples - 1)), 200);
}

}  // namespace
}  // namespace tv::cli_test

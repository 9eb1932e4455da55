// Runs tonvela-script as a user would: a script on standard input, output on standard
// output, a message on standard error and exit status 2 for bad input.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

struct ScriptRun {
  int status;
  std::string out;
  std::string err;
};

ScriptRun RunScript(const std::string& script, const std::string& environment = "") {
  // ctest runs cases in parallel processes: every run gets files of its own.
  static int runs = 0;
  const std::string stem = "tonvela_script_" + std::to_string(getpid()) + "_" + std::to_string(++runs);
  const auto dir = std::filesystem::temp_directory_path();
  const std::string in = (dir / (stem + ".in")).string();
  const std::string err = (dir / (stem + ".err")).string();
  std::ofstream(in) << script;
  const std::string command = environment + " " + TONVELA_SCRIPT_EXE + " < " + in + " 2> " + err;
  FILE* pipe = popen(command.c_str(), "r");
  std::string out;
  char buffer[4096];
  std::size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  const int status = pclose(pipe);
  std::stringstream errText;
  errText << std::ifstream(err).rdbuf();
  std::filesystem::remove(in);
  std::filesystem::remove(err);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out, errText.str()};
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace

namespace {

// The samples of a 16-bit mono WAV file.
std::vector<std::int16_t> WavSamples(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::size_t at = 12;
  while (at + 8 <= bytes.size()) {
    const std::string id = bytes.substr(at, 4);
    std::uint32_t size = 0;
    std::memcpy(&size, bytes.data() + at + 4, 4);
    if (id == "data") {
      std::vector<std::int16_t> samples(std::min<std::size_t>(size, bytes.size() - at - 8) / 2);
      std::memcpy(samples.data(), bytes.data() + at + 8, samples.size() * 2);
      return samples;
    }
    at += 8 + size + (size & 1);
  }
  return {};
}

struct TempDir {
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tonvela-driver.XXXXXX").string();
    path = mkdtemp(pattern.data());
  }
  ~TempDir() { std::filesystem::remove_all(path); }
  std::string operator/(const std::string& name) const { return (path / name).string(); }
  std::filesystem::path path;
};

}  // namespace

TEST(ScriptDriver, ShowsTheStartState) {
  const ScriptRun run = RunScript("texts\nstate\n");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(Contains(run.out, "1015\t現在の基本周波数=440 Hz\n"));
  EXPECT_TRUE(Contains(run.out, "1023\t振幅=0 パワー=0  -∞[dB]\n"));
  EXPECT_TRUE(Contains(run.out, "thumb[1014] 440 0 2000\n"));
  EXPECT_TRUE(Contains(run.out, "thumb[1018] 0 0 100\n"));
  EXPECT_TRUE(Contains(run.out, "checked none\n"));
  EXPECT_TRUE(Contains(run.out, "focus 1003\n"));
  EXPECT_TRUE(Contains(run.out, "beeps 0\n"));
  EXPECT_FALSE(Contains(run.out, "exit"));  // only an explicit close reports it
}

TEST(ScriptDriver, SlidersChangeStateAndLabels) {
  const ScriptRun run = RunScript("scroll 1020 5 33\nscroll 1014 2 \ntext 1025\ntext 1015\nstate\nclose\n");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(Contains(run.out, "1025\t振幅=0.33 パワー=0.11  -9.63 [dB]\n"));
  EXPECT_TRUE(Contains(run.out, "1015\t現在の基本周波数=430 Hz\n"));
  EXPECT_TRUE(Contains(run.out, "amplitude[2] 0.33000001311302185\n"));
  EXPECT_TRUE(Contains(run.out, "frequency 430\n"));
  EXPECT_TRUE(Contains(run.out, "exit 0\n"));
}

TEST(ScriptDriver, NumbersReadTheSameUnderAGermanLocale) {
  TempDir dir;
  const std::string script = "click 1012\nclick 1003\ntexts\nstate\n";
  const ScriptRun german = RunScript(script, std::string("LOCPATH=") + TEST_LOCALES + " LANG=de_DE.UTF-8 LC_ALL=");
  ASSERT_EQ(german.status, 0) << german.err;
  EXPECT_TRUE(Contains(german.out, "1023\t振幅=0.79 パワー=0.63  -2.00 [dB]\n"));
  EXPECT_EQ(german.out, RunScript(script, "LANG=C").out);

  // A picture starts Qt in the middle of the run; the labels after it read the same.
  const std::string picture = dir / "p.png";
  const std::string withPicture = "click 1012\npicture " + picture + "\nclick 1003\ntexts\nstate\n";
  const ScriptRun germanPicture =
      RunScript(withPicture, std::string("LOCPATH=") + TEST_LOCALES + " LANG=de_DE.UTF-8 LC_ALL=");
  ASSERT_EQ(germanPicture.status, 0) << germanPicture.err;
  EXPECT_EQ(germanPicture.out, german.out);
}

TEST(ScriptDriver, SameScriptSameBytes) {
  const std::string script = "scroll 1018 5 100\nscroll 1019 3\nkey Tab\nkey Space\nstate\ntexts\n";
  EXPECT_EQ(RunScript(script).out, RunScript(script).out);
}

TEST(ScriptDriver, BadInputNamesTheLineAndLeavesNoFile) {
  const auto png = std::filesystem::temp_directory_path() /
                   ("tonvela_script_never_" + std::to_string(getpid()) + ".png");
  std::filesystem::remove(png);
  struct Case {
    std::string script;
    std::string message;
  };
  const Case cases[] = {
      {"state\nfrobnicate\n", "line 2: unknown command 'frobnicate'"},
      {"snapshot " + png.string() + "\nclick 1015\n", "line 2: control 1015 is not a button"},
      {"snapshot " + png.string() + "\ntext 4242\n", "line 2: no control has the ID 4242"},
      {"close\nstate\n", "line 2: nothing may follow 'close'"},
      {"snapshot /nonexistent-dir/x.png\n", "line 1:"},
  };
  for (const Case& c : cases) {
    const ScriptRun run = RunScript(c.script);
    EXPECT_EQ(run.status, 2) << c.script;
    EXPECT_TRUE(Contains(run.err, c.message)) << run.err;
    EXPECT_FALSE(std::filesystem::exists(png)) << c.script;
  }
}


TEST(ScriptDriver, SetMovesASliderAsADragDoes) {
  // A drag reports the thumb's track, its release at the same place and the end; each
  // repaints, so even the shared phase agrees.
  struct Case {
    std::string set;
    std::string drag;
  };
  const Case cases[] = {
      {"set harmonic 3 33\n", "scroll 1020 5 33\nscroll 1020 4 33\nscroll 1020 8\n"},
      {"set frequency 1234\n", "scroll 1014 track 1234\nscroll 1014 position 1234\nscroll 1014 end\n"},
  };
  for (const Case& c : cases) {
    const std::string after = "click vowel-a\n";
    const ScriptRun set = RunScript(after + c.set + "state\ntexts\n");
    const ScriptRun drag = RunScript(after + c.drag + "state\ntexts\n");
    ASSERT_EQ(set.status, 0) << set.err;
    EXPECT_EQ(set.out, drag.out);
  }
  const ScriptRun run = RunScript("set harmonic 3 33\ntext harmonic3-label\nset frequency 1234\ntext frequency-label\n");
  EXPECT_EQ(run.out, "1025\t振幅=0.33 パワー=0.11  -9.63 [dB]\n1015\t現在の基本周波数=1234 Hz\n");
}

TEST(ScriptDriver, RecordForSecondsEndsByItselfAndFadesOnlyWhenAsked) {
  TempDir dir;
  // Three runs that record the same half second from the same start.
  const std::string start = "click square\nplay 0.3\n";
  const ScriptRun exactRun = RunScript(start + "record " + dir / "exact.wav" + "\nplay 0.5\n");
  const ScriptRun timedRun =
      RunScript(start + "record " + dir / "timed.wav" + " for 0.5\nplay 1\nstate\n");
  const ScriptRun fadedRun = RunScript(start + "record \"" + dir / "faded one.wav" + "\" for 0.5 fade\n");
  ASSERT_EQ(exactRun.status + timedRun.status + fadedRun.status, 0) << exactRun.err << timedRun.err << fadedRun.err;
  const auto exact = WavSamples(dir / "exact.wav");
  const auto timed = WavSamples(dir / "timed.wav");
  const auto faded = WavSamples(dir / "faded one.wav");
  ASSERT_EQ(exact.size(), 8000u);
  ASSERT_EQ(timed.size(), 8000u);  // ended by itself, before the final `play 1`
  ASSERT_EQ(faded.size(), 8000u);
  EXPECT_EQ(timed, exact);
  const std::size_t fade = 160;  // 10 ms at 16 kHz
  for (std::size_t i = fade; i + fade < exact.size(); ++i) ASSERT_EQ(faded[i], exact[i]) << i;
  int peakIn = 0;
  int peakOut = 0;
  for (std::size_t i = 0; i < 8; ++i) {
    peakIn = std::max(peakIn, std::abs(static_cast<int>(faded[i])));
    peakOut = std::max(peakOut, std::abs(static_cast<int>(faded[faded.size() - 1 - i])));
  }
  int loud = 0;
  for (const std::int16_t sample : exact) loud = std::max(loud, std::abs(static_cast<int>(sample)));
  EXPECT_GT(loud, 10000);
  EXPECT_LT(peakIn, loud / 50);   // no click at the start
  EXPECT_LT(peakOut, loud / 50);  // nor at the end
  // Each sample of a fade lies between silence and the exact sample.
  for (std::size_t i = 0; i < fade; ++i) {
    EXPECT_LE(std::abs(faded[i]), std::abs(exact[i])) << i;
    EXPECT_LE(std::abs(faded[exact.size() - 1 - i]), std::abs(exact[exact.size() - 1 - i])) << i;
  }
}

TEST(ScriptDriver, PicturesAreTheWindowAtItsSizeTimesTheScale) {
  TempDir dir;
  const ScriptRun run = RunScript("click triangle\npicture " + dir / "one.png" + "\npicture \"" +
                                  dir / "two x.png" + "\" scale 2\npicture " + dir / "s.png" +
                                  " spectrum\n");
  ASSERT_EQ(run.status, 0) << run.err;
  auto size = [](const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    unsigned char header[24] = {};
    file.read(reinterpret_cast<char*>(header), sizeof header);
    const auto big = [&](int at) {
      return (header[at] << 24) | (header[at + 1] << 16) | (header[at + 2] << 8) | header[at + 3];
    };
    return std::pair{big(16), big(20)};
  };
  EXPECT_EQ(size(dir / "one.png"), (std::pair{646, 659}));
  EXPECT_EQ(size(dir / "two x.png"), (std::pair{1292, 1318}));
  const auto spectrum = size(dir / "s.png");
  EXPECT_GT(spectrum.first, 200);
  EXPECT_LT(spectrum.first, 300);
}

TEST(ScriptDriver, NewCommandsThatFailLeaveNoFile) {
  TempDir dir;
  struct Case {
    std::string script;
    std::string message;
  };
  const std::string png = dir / "p.png";
  const std::string wav = dir / "r.wav";
  const Case cases[] = {
      {"picture " + png + "\nclick warning\n", "line 2: control 1038 is not a button"},
      {"record " + wav + " for 1 fade\nset harmonic 3 500\n", "line 2: POSITION must be"},
      {"record " + wav + " for 0.25\npicture " + png + " waves\nclick 4242\n", "line 3: no control"},
      {"picture " + png + " scale 9\n", "line 1: scale must be a whole number from 1 to 4, not '9'"},
      {"set harmonic 3 \"fifty\"\n", "line 1: POSITION must be a whole number from 0 to 100"},
      {"picture " + dir / "missing/p.png" + "\n", "line 1:"},
  };
  for (const Case& c : cases) {
    const ScriptRun run = RunScript(c.script);
    EXPECT_EQ(run.status, 2) << c.script;
    EXPECT_TRUE(Contains(run.err, c.message)) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_TRUE(std::filesystem::is_empty(dir.path)) << c.script;
  }
}

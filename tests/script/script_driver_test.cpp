// Runs tonvela-script as a user would: a script on standard input, output on standard
// output, a message on standard error and exit status 2 for bad input.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

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
  const std::string script = "click 1012\nclick 1003\ntexts\nstate\n";
  const ScriptRun german = RunScript(script, std::string("LOCPATH=") + TEST_LOCALES + " LANG=de_DE.UTF-8 LC_ALL=");
  ASSERT_EQ(german.status, 0) << german.err;
  EXPECT_TRUE(Contains(german.out, "1023\t振幅=0.79 パワー=0.63  -2.00 [dB]\n"));
  EXPECT_EQ(german.out, RunScript(script, "LANG=C").out);
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

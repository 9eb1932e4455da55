// Both programs' command lines: --help and --version, wrong options, and where
// tonvela-script takes its script from.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>

#include <chrono>

#include "run_program.h"
#include "tonvela_version.h"

namespace tv::cli_test {
namespace {

struct Program {
  const char* name;
  const char* path;
};

std::vector<Program> Programs() {
  std::vector<Program> programs{{"tonvela-script", TONVELA_SCRIPT_EXE}};
#ifdef TONVELA_EXE
  programs.push_back({"tonvela", TONVELA_EXE});
#endif
  return programs;
}

TEST(CommandLine, VersionAndHelpGoToStandardOutputWithStatusZero) {
  for (const Program& program : Programs()) {
    SCOPED_TRACE(program.name);
    const ProgramRun version = RunProgram({program.path, "--version"}, "");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string(program.name) + " " + TONVELA_VERSION + "\n");
    EXPECT_EQ(version.err, "");

    const ProgramRun help = RunProgram({program.path, "--help"}, "");
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(Contains(help.out, std::string("Usage: ") + program.name)) << help.out;
    EXPECT_EQ(help.err, "");
  }
}

TEST(CommandLine, UnknownOptionsAndExtraArgumentsGetAMessageAndStatusTwo) {
  struct Case {
    std::vector<std::string> arguments;
    std::string message;
  };
  for (const Program& program : Programs()) {
    SCOPED_TRACE(program.name);
    const std::string name = program.name;
    std::vector<Case> cases = {
        {{"--frobnicate"}, "unknown option '--frobnicate'"},
        {{"-x"}, "unknown option '-x'"},
        {{"--version", "--frobnicate"}, ""},
    };
    if (name == "tonvela") {
      cases.push_back({{"script.txt"}, "takes no file or other argument ('script.txt')"});
      cases.push_back({{"--help", "--version"}, ""});
    } else {
      cases.push_back({{"a.txt", "b.txt"}, "one script at a time"});
    }
    for (const Case& c : cases) {
      std::vector<std::string> argv{program.path};
      argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
      const ProgramRun run = RunProgram(argv, "");
      SCOPED_TRACE(c.arguments.back());
      if (name == "tonvela-script" && c.arguments.front() == "--version") {
        // Options are read in order: --version answers before the bad one is seen.
        EXPECT_EQ(run.status, 0);
        continue;
      }
      EXPECT_EQ(run.status, 2);
      EXPECT_EQ(run.out, "");
      EXPECT_TRUE(Contains(run.err, name + ": " + c.message)) << run.err;
      EXPECT_TRUE(Contains(run.err, "--help")) << run.err;
    }
  }
}

TEST(CommandLine, TheScriptComesFromAFileFromDashOrFromStandardInput) {
  ScratchDir dir;
  std::ofstream(dir / "my script.txt") << "text 1015\n";
  const std::string fromStdin = "text 1023\n";
  const std::string frequency = "1015\t現在の基本周波数=440 Hz\n";
  const std::string amplitude = "1023\t振幅=0 パワー=0  -∞[dB]\n";

  const ProgramRun file = RunProgram({TONVELA_SCRIPT_EXE, (dir / "my script.txt").string()}, fromStdin);
  EXPECT_EQ(file.status, 0) << file.err;
  EXPECT_EQ(file.out, frequency);

  const ProgramRun dash = RunProgram({TONVELA_SCRIPT_EXE, "-"}, fromStdin);
  EXPECT_EQ(dash.status, 0) << dash.err;
  EXPECT_EQ(dash.out, amplitude);

  const ProgramRun none = RunProgram({TONVELA_SCRIPT_EXE}, fromStdin);
  EXPECT_EQ(none.status, 0) << none.err;
  EXPECT_EQ(none.out, amplitude);
  EXPECT_EQ(none.err, "");  // standard input is no terminal here: no hint

  // After "--" a name that looks like an option is a file.
  std::ofstream(dir / "-v") << "text 1015\n";
  const ProgramRun dashed = RunProgram({TONVELA_SCRIPT_EXE, "--", "-v"}, fromStdin, dir.path());
  EXPECT_EQ(dashed.status, 0) << dashed.err;
  EXPECT_EQ(dashed.out, frequency);

  const ProgramRun missing = RunProgram({TONVELA_SCRIPT_EXE, (dir / "none.txt").string()}, "");
  EXPECT_EQ(missing.status, 2);
  EXPECT_TRUE(Contains(missing.err, "cannot read " + (dir / "none.txt").string() + ": "))
      << missing.err;

  const ProgramRun folder = RunProgram({TONVELA_SCRIPT_EXE, dir.path().string()}, "");
  EXPECT_EQ(folder.status, 2);
  EXPECT_TRUE(Contains(folder.err, "cannot read")) << folder.err;
}

TEST(CommandLine, ScriptHelpNamesEveryCommandAndScrollCode) {
  const ProgramRun help = RunProgram({TONVELA_SCRIPT_EXE, "--help"}, "");
  for (const char* word : {"click ID", "command ID", "scroll ID CODE", "key NAME", "text ID",
                           "texts", "state", "snapshot FILE.png", "fail-open", "play SECONDS",
                           "record FILE.wav", "close", "0-2000 Hz", "0-100"}) {
    EXPECT_TRUE(Contains(help.out, word)) << word;
  }
  for (int code = 0; code <= 8; ++code) {
    EXPECT_TRUE(Contains(help.out, "\n  " + std::to_string(code) + " ")) << code;
  }
}

}  // namespace
}  // namespace tv::cli_test

namespace tv::cli_test {
namespace {

// tonvela-script with a terminal (a pseudo-terminal) as standard input: what it says on
// standard error, and what it prints for a script typed there and ended with Ctrl+D.
TEST(CommandLine, AtATerminalItSaysItReadsAScriptAndHowToEndIt) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(grantpt(master), 0);
  ASSERT_EQ(unlockpt(master), 0);
  const std::string terminal = ptsname(master);
  ScratchDir dir;
  const pid_t child = fork();
  if (child == 0) {
    setsid();
    const int slave = open(terminal.c_str(), O_RDWR);
    const int out = open((dir / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open((dir / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (slave < 0 || out < 0 || err < 0) _exit(127);
    dup2(slave, 0);
    dup2(out, 1);
    dup2(err, 2);
    execl(TONVELA_SCRIPT_EXE, TONVELA_SCRIPT_EXE, static_cast<char*>(nullptr));
    _exit(127);
  }
  const char typed[] = "text frequency-label\n\x04";
  ASSERT_EQ(write(master, typed, sizeof typed - 1), static_cast<ssize_t>(sizeof typed - 1));
  // The terminal echoes what was typed; keep reading so that it never blocks.
  int status = 0;
  bool ended = false;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!ended && std::chrono::steady_clock::now() < deadline) {
    ended = waitpid(child, &status, WNOHANG) == child;
    char echo[256];
    pollfd poll_fd{master, POLLIN, 0};
    // Once the program has closed the terminal, reading ends: then only wait.
    if (!ended && (poll(&poll_fd, 1, 100) <= 0 || read(master, echo, sizeof echo) <= 0)) usleep(20000);
  }
  if (!ended) {
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
  }
  close(master);
  ASSERT_TRUE(ended) << "still running after 30 s";
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  const std::string err = ReadWhole(dir / "err");
  EXPECT_TRUE(Contains(err, "reading a script from the terminal")) << err;
  EXPECT_TRUE(Contains(err, "Ctrl+D")) << err;
  EXPECT_EQ(ReadWhole(dir / "out"), "1015\t現在の基本周波数=440 Hz\n");
}

}  // namespace
}  // namespace tv::cli_test

// How tonvela-script puts its pictures and recordings in place: what happens to links,
// devices and FIFOs, a path written twice, a folder that is missing, a user's own files,
// standard output that cannot be written, and a run that is interrupted.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct ScriptRun {
  int status = -1;     // exit status, or -1 when a signal ended the process
  int signal = 0;      // the signal that ended it
  std::string err;
};

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool IsPng(const std::string& bytes) { return bytes.rfind("\x89PNG\r\n\x1a\n", 0) == 0; }

class ScriptFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("tonvela_files_" + std::to_string(getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  // Runs the script with its working folder at folder_; `stdoutPath` receives standard
  // output. With `signalToSend`, that signal is sent once `signalWhen` holds.
  ScriptRun RunScript(const std::string& script, const std::string& stdoutPath = "/dev/null",
                int signalToSend = 0, const std::function<bool()>& signalWhen = {}) {
    const fs::path in = fs::temp_directory_path() / ("tonvela_files_in_" + std::to_string(getpid()));
    const fs::path err = fs::temp_directory_path() / ("tonvela_files_err_" + std::to_string(getpid()));
    std::ofstream(in) << script;
    const pid_t child = fork();
    if (child == 0) {
      if (chdir(folder_.c_str()) != 0) _exit(120);
      const int input = open(in.c_str(), O_RDONLY);
      const int output = open(stdoutPath.c_str(), O_WRONLY);
      const int errors = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      if (input < 0 || output < 0 || errors < 0) _exit(121);
      dup2(input, 0);
      dup2(output, 1);
      dup2(errors, 2);
      execl(TONVELA_SCRIPT_EXE, TONVELA_SCRIPT_EXE, static_cast<char*>(nullptr));
      _exit(122);
    }
    if (signalToSend != 0) {
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
      while (!signalWhen() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
      }
      kill(child, signalToSend);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ScriptRun run;
    if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
    run.err = ReadFile(err);
    fs::remove(err);
    fs::remove(in);
    return run;
  }

  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path folder_;
};

TEST_F(ScriptFiles, SymbolicLinkIsFollowedAndKept) {
  std::ofstream(folder_ / "picture.png") << "old";
  fs::create_symlink("picture.png", folder_ / "link.png");
  const ScriptRun run = RunScript("click 1012\nsnapshot link.png\n");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(fs::is_symlink(folder_ / "link.png"));
  EXPECT_TRUE(IsPng(ReadFile(folder_ / "picture.png")));
  EXPECT_EQ(Entries(), (std::vector<std::string>{"link.png", "picture.png"}));
}

TEST_F(ScriptFiles, LinkToAFileNotYetThereCreatesIt) {
  fs::create_symlink("made.wav", folder_ / "link.wav");
  const ScriptRun run = RunScript("record link.wav\nclick 1012\nplay 0.1\n");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(fs::is_symlink(folder_ / "link.wav"));
  EXPECT_EQ(ReadFile(folder_ / "made.wav").substr(0, 4), "RIFF");
}

// A FIFO stands for every target that is not a regular file (devices such as
// /dev/stdout): it is written into, never replaced.
TEST_F(ScriptFiles, FifoIsWrittenNotReplaced) {
  const fs::path fifo = folder_ / "pipe.png";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  const ScriptRun run = RunScript("snapshot pipe.png\n");
  std::string received;
  char buffer[4096];
  ssize_t n;
  while ((n = read(reader, buffer, sizeof buffer)) > 0) received.append(buffer, n);
  close(reader);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(fs::status(fifo).type(), fs::file_type::fifo);
  EXPECT_TRUE(IsPng(received));
  EXPECT_EQ(Entries(), std::vector<std::string>{"pipe.png"});
}

TEST_F(ScriptFiles, LastWriteToAPathWins) {
  ASSERT_EQ(RunScript("click 1012\nsnapshot sine.png\n").status, 0);
  const ScriptRun run = RunScript("snapshot a.png\nclick 1012\nsnapshot a.png\n"
                            "record b.wav\nplay 0.1\nrecord b.wav\nplay 0.2\n");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadFile(folder_ / "a.png"), ReadFile(folder_ / "sine.png"));
  EXPECT_EQ(fs::file_size(folder_ / "b.wav"), 44u + 2u * 3200u);
  EXPECT_EQ(Entries(), (std::vector<std::string>{"a.png", "b.wav", "sine.png"}));
}

TEST_F(ScriptFiles, FailuresNameTheLineAndThePathAsWritten) {
  fs::create_directory(folder_ / "afolder");
  struct Case {
    std::string script;
    std::string message;
  };
  const Case cases[] = {
      {"state\nsnapshot missing/x.png\n", "line 2: cannot write missing/x.png: No such file or directory"},
      {"record missing/x.wav\n", "line 1: cannot write missing/x.wav: No such file or directory"},
      {"state\n\nsnapshot afolder\n", "line 3: cannot write afolder: Is a directory"},
  };
  for (const Case& c : cases) {
    const ScriptRun run = RunScript(c.script);
    EXPECT_EQ(run.status, 2) << c.script;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find(".tmp"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find(".part"), std::string::npos) << run.err;
    EXPECT_EQ(Entries(), std::vector<std::string>{"afolder"});
  }
}

TEST_F(ScriptFiles, UsersFilesNamedLikeTemporariesAreNeverTouched) {
  const std::vector<std::string> mine = {"x.png.part", "x.png.tmp", ".x.png.part", "x.wav.part"};
  for (const auto& name : mine) std::ofstream(folder_ / name) << "mine";
  ASSERT_EQ(RunScript("snapshot x.png\nrecord x.wav\nplay 0.1\n").status, 0);
  ASSERT_EQ(RunScript("snapshot x.png\nfrobnicate\n").status, 2);
  for (const auto& name : mine) EXPECT_EQ(ReadFile(folder_ / name), "mine") << name;
  EXPECT_EQ(Entries().size(), mine.size() + 2);
}

TEST_F(ScriptFiles, StandardOutputThatCannotBeWrittenIsAnError) {
  const ScriptRun run = RunScript("snapshot x.png\ntexts\n", "/dev/full");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("standard output"), std::string::npos) << run.err;
  EXPECT_TRUE(Entries().empty());
}

TEST_F(ScriptFiles, InterruptedRunLeavesNoTemporaryFile) {
  for (const int signal : {SIGINT, SIGTERM}) {
    SCOPED_TRACE(signal);
    const ScriptRun run = RunScript("snapshot x.png\nrecord x.wav\nclick 1012\nplay 80000\n", "/dev/null",
                              signal, [this] { return Entries().size() >= 2; });
    EXPECT_EQ(run.signal, signal);
    EXPECT_EQ(Entries(), std::vector<std::string>{}) << "after signal " << signal;
  }
}

TEST_F(ScriptFiles, ClosedPipeOnStandardOutputLeavesNoTemporaryFile) {
  int pipeEnds[2];
  ASSERT_EQ(pipe(pipeEnds), 0);
  close(pipeEnds[0]);
  std::string script = "snapshot x.png\nrecord x.wav\nclick 1012\nplay 1\n";
  for (int i = 0; i < 2000; ++i) script += "texts\n";
  const ScriptRun run = RunScript(script, "/dev/fd/" + std::to_string(pipeEnds[1]));
  close(pipeEnds[1]);
  EXPECT_NE(run.status, 0);
  EXPECT_EQ(Entries(), std::vector<std::string>{});
}

}  // namespace

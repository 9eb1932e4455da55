// Runs a program with arguments and a given standard input, as a shell would, and
// collects its exit status and both outputs.
#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace tv::cli_test {

struct ProgramRun {
  int status = -1;
  std::string out;
  std::string err;
};

inline std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// A folder of the test's own, removed with everything in it.
class ScratchDir {
 public:
  ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tonvela-cli.XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// `input` is written to a file that becomes standard input; `workDir`, when given, is
// the program's working folder.
inline ProgramRun RunProgram(const std::vector<std::string>& argv, const std::string& input,
                             const std::filesystem::path& workDir = {}) {
  ScratchDir io;
  std::ofstream(io / "in", std::ios::binary) << input;
  const pid_t child = fork();
  if (child == 0) {
    const int in = open((io / "in").c_str(), O_RDONLY);
    const int out = open((io / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open((io / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in < 0 || out < 0 || err < 0) _exit(127);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    if (!workDir.empty() && chdir(workDir.c_str()) != 0) _exit(127);
    std::vector<char*> args;
    for (const std::string& argument : argv) args.push_back(const_cast<char*>(argument.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadWhole(io / "out"), ReadWhole(io / "err")};
}

inline bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace tv::cli_test

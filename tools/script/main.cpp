// tonvela-script: runs the program without a display, driven by a script of commands,
// for tests and for making pictures and sounds.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <iterator>
#include <string>

#include "tonvela_version.h"
#include "tools/script/script_help.h"
#include "tools/script/output_files.h"
#include "tools/script/script_parser.h"
#include "tools/script/script_runner.h"

namespace {

constexpr int kBadInput = 2;

int Fail(int line, const std::string& message) {
  if (line > 0) {
    std::cerr << "tonvela-script: line " << line << ": " << message << '\n';
  } else {
    std::cerr << "tonvela-script: " << message << '\n';
  }
  return kBadInput;
}

int BadCommandLine(const std::string& message) {
  std::cerr << "tonvela-script: " << message << "\nTry 'tonvela-script --help'.\n";
  return kBadInput;
}

int PrintAndExit(const std::string& text) {
  std::cout << text;
  std::cout.flush();
  return std::cout ? 0 : 1;
}

// Where the script comes from: a file, or standard input for "-" or no argument.
struct Source {
  std::string path;  // empty: standard input
};

bool ReadSource(const Source& source, std::string* text, std::string* error) {
  if (source.path.empty()) {
    if (isatty(STDIN_FILENO)) {
      std::cerr << "tonvela-script: reading a script from the terminal, one command a line; "
                   "end it with Ctrl+D (commands: tonvela-script --help)\n";
    }
    text->assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    if (std::cin.bad()) {
      *error = "cannot read standard input";
      return false;
    }
    return true;
  }
  std::FILE* file = std::fopen(source.path.c_str(), "rb");
  if (!file) {
    *error = "cannot read " + source.path + ": " + std::strerror(errno);
    return false;
  }
  char buffer[65536];
  std::size_t count = 0;
  while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) text->append(buffer, count);
  const bool failed = std::ferror(file) != 0;
  const int reason = errno;
  std::fclose(file);
  if (failed) {
    *error = "cannot read " + source.path + ": " + std::strerror(reason);
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  // Our own buffer on standard output, so that a failed write shows in the stream's state.
  std::ios::sync_with_stdio(false);
  tv::script::RemoveStagedFilesOnSignals();
  Source source;
  bool haveSource = false;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (!optionsEnded && argument == "--help") return PrintAndExit(tv::script::HelpText());
    if (!optionsEnded && argument == "--version") {
      return PrintAndExit("tonvela-script " TONVELA_VERSION "\n");
    }
    if (!optionsEnded && argument == "--") {
      optionsEnded = true;
      continue;
    }
    if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
      return BadCommandLine("unknown option '" + argument + "'");
    }
    if (haveSource) return BadCommandLine("one script at a time ('" + argument + "' is a second)");
    haveSource = true;
    if (argument != "-" || optionsEnded) source.path = argument;
  }

  std::string text;
  std::string error;
  if (!ReadSource(source, &text, &error)) return Fail(0, error);
  const tv::script::Script script = tv::script::ParseScript(text);
  if (script.error) return Fail(script.error->line, script.error->message);

  const tv::script::RunResult result = tv::script::RunScript(script.commands, std::cout);
  std::cout.flush();
  if (!result.ok) return Fail(result.errorLine, result.errorMessage);
  return 0;
}

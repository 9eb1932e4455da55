// tonvela-script: runs the program without a display, driven by commands on standard
// input, for tests and for making pictures and sounds.
#include <iostream>
#include <iterator>
#include <string>

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

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) {
    std::cerr << "usage: " << argv[0] << " < SCRIPT\n"
              << "Commands, one a line: click ID, command ID, scroll ID CODE [POS], key NAME,\n"
              << "text ID, texts, state, snapshot FILE.png, fail-open, play SECONDS,\n"
              << "record FILE.wav, close\n";
    return kBadInput;
  }
  const std::string text{std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>()};
  const tv::script::Script script = tv::script::ParseScript(text);
  if (script.error) return Fail(script.error->line, script.error->message);

  const tv::script::RunResult result = tv::script::RunScript(script.commands, std::cout);
  std::cout.flush();
  if (!result.ok) return Fail(result.errorLine, result.errorMessage);
  return 0;
}

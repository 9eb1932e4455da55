// Random text through the script driver's parser, and random valid scripts through the
// driver itself: bad input is reported with its line, never a crash.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "script_text_generator.h"
#include "tools/script/script_parser.h"
#include "tools/script/script_runner.h"

namespace tv::fuzz {
namespace {

using script::Command;
using script::Script;
using script::Verb;

int LineCount(const std::string& text) {
  if (text.empty()) return 0;
  return static_cast<int>(std::count(text.begin(), text.end(), '\n')) + (text.back() == '\n' ? 0 : 1);
}

// What every parse result promises, whatever the text.
void ExpectWellFormed(const std::string& text, const Script& script) {
  const int lines = LineCount(text);
  int previous = 0;
  for (const Command& command : script.commands) {
    EXPECT_GT(command.line, previous) << "commands in line order";
    EXPECT_LE(command.line, lines);
    previous = command.line;
    if (command.verb == Verb::Close) {
      EXPECT_EQ(&command, &script.commands.back()) << "nothing after close";
    }
    switch (command.verb) {
      case Verb::Click:
      case Verb::Command:
      case Verb::Text:
        EXPECT_TRUE(command.id >= -32768 && command.id <= 65535) << command.id;
        break;
      case Verb::Scroll:
        EXPECT_TRUE(command.id >= -32768 && command.id <= 65535) << command.id;
        EXPECT_TRUE(command.code >= 0 && command.code <= 8) << command.code;
        EXPECT_TRUE(command.position >= 0 && command.position <= 65535) << command.position;
        break;
      case Verb::Key:
        EXPECT_TRUE(script::IsKnownKeyName(command.name)) << command.name;
        break;
      case Verb::Play:
        EXPECT_TRUE(std::isfinite(command.seconds) && command.seconds >= 0 && command.seconds <= 86400);
        break;
      case Verb::Snapshot:
      case Verb::Record:
        EXPECT_FALSE(command.name.empty());
        break;
      default:
        break;
    }
  }
  if (script.error) {
    EXPECT_GT(script.error->line, previous) << "the error comes after the commands kept";
    EXPECT_LE(script.error->line, lines);
    EXPECT_FALSE(script.error->message.empty());
  }
}

TEST(ScriptParserFuzz, AnyTextParsesToLinedCommandsOrOneLinedError) {
  for (std::uint64_t seed = 1; seed <= 20000; ++seed) {
    const std::vector<std::uint8_t> data = SeededBytes(seed, 600);
    ByteSource bytes(data.data(), data.size());
    const std::string text = ScriptText(bytes);
    SCOPED_TRACE("seed " + std::to_string(seed));
    ExpectWellFormed(text, script::ParseScript(text));
    if (HasFailure()) break;
  }
}

TEST(ScriptParserFuzz, RawBytesNeverCrashTheParser) {
  for (std::uint64_t seed = 1; seed <= 5000; ++seed) {
    const std::vector<std::uint8_t> data = SeededBytes(seed, seed % 300);
    const std::string text(data.begin(), data.end());
    SCOPED_TRACE("seed " + std::to_string(seed));
    ExpectWellFormed(text, script::ParseScript(text));
    if (HasFailure()) break;
  }
}

// The driver with scripts that parse: it either succeeds or names a line of the script.
TEST(ScriptDriverFuzz, ValidScriptsRunOrFailOnALine) {
  for (std::uint64_t seed = 1; seed <= 60; ++seed) {
    const std::vector<std::uint8_t> data = SeededBytes(seed, 800);
    ByteSource bytes(data.data(), data.size());
    const std::string text = RunnableScript(bytes);
    SCOPED_TRACE("seed " + std::to_string(seed) + ":\n" + text);
    const Script script = script::ParseScript(text);
    ASSERT_FALSE(script.error) << script.error->message;
    std::ostringstream out;
    const script::RunResult result = script::RunScript(script.commands, out);
    if (!result.ok) {
      EXPECT_GE(result.errorLine, 1);
      EXPECT_LE(result.errorLine, LineCount(text));
      EXPECT_NE(result.errorMessage.find("no control"), std::string::npos) << result.errorMessage;
    }
    std::istringstream lines(out.str());
    for (std::string line; std::getline(lines, line);) {
      if (line.rfind("phase ", 0) != 0) continue;
      const double phase = std::stod(line.substr(6));
      EXPECT_TRUE(phase >= 0.0 && phase <= 6.283185307) << line;
    }
  }
}

}  // namespace
}  // namespace tv::fuzz

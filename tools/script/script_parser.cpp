#include "tools/script/script_parser.h"

#include <charconv>
#include <cmath>

namespace tv::script {
namespace {

constexpr std::string_view kKeyNames[] = {"Tab", "Shift+Tab", "Left", "Right", "Up", "Down",
                                          "Space", "Return"};

std::vector<std::string_view> SplitWords(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

std::optional<long long> ParseInteger(std::string_view word) {
  long long value = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (error != std::errc() || end != word.data() + word.size()) return std::nullopt;
  return value;
}

std::optional<double> ParseSeconds(std::string_view word) {
  double value = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (error != std::errc() || end != word.data() + word.size()) return std::nullopt;
  if (!std::isfinite(value) || value < 0) return std::nullopt;
  return value;
}

struct VerbInfo {
  std::string_view word;
  Verb verb;
  std::size_t minArguments;
  std::size_t maxArguments;
  std::string_view usage;
};

constexpr VerbInfo kVerbs[] = {
    {"click", Verb::Click, 1, 1, "click ID"},
    {"command", Verb::Command, 1, 1, "command ID"},
    {"scroll", Verb::Scroll, 2, 3, "scroll ID CODE [POS]"},
    {"key", Verb::Key, 1, 1, "key NAME"},
    {"close", Verb::Close, 0, 0, "close"},
    {"text", Verb::Text, 1, 1, "text ID"},
    {"texts", Verb::Texts, 0, 0, "texts"},
    {"state", Verb::State, 0, 0, "state"},
    {"snapshot", Verb::Snapshot, 1, 1, "snapshot FILE.png"},
    {"fail-open", Verb::FailOpen, 0, 0, "fail-open"},
    {"play", Verb::Play, 1, 1, "play SECONDS"},
    {"record", Verb::Record, 1, 1, "record FILE.wav"},
};

// Fills `command` from the words after the verb; an error message, or empty.
std::string ParseArguments(const std::vector<std::string_view>& words, Command& command) {
  auto integer = [&](std::size_t index, long long low, long long high) -> std::optional<int> {
    const auto value = ParseInteger(words[index]);
    if (!value || *value < low || *value > high) return std::nullopt;
    return static_cast<int>(*value);
  };
  switch (command.verb) {
    case Verb::Click:
    case Verb::Command:
    case Verb::Text: {
      const auto id = integer(1, -32768, 65535);
      if (!id) return "ID must be an integer from -32768 to 65535, not '" + std::string(words[1]) + "'";
      command.id = *id;
      return {};
    }
    case Verb::Scroll: {
      const auto id = integer(1, -32768, 65535);
      if (!id) return "ID must be an integer from -32768 to 65535, not '" + std::string(words[1]) + "'";
      const auto code = integer(2, 0, 8);
      if (!code) return "CODE must be a scroll code from 0 to 8, not '" + std::string(words[2]) + "'";
      command.id = *id;
      command.code = *code;
      if (words.size() > 3) {
        const auto position = integer(3, 0, 65535);
        if (!position) return "POS must be an integer from 0 to 65535, not '" + std::string(words[3]) + "'";
        command.position = *position;
      }
      return {};
    }
    case Verb::Key:
      if (!IsKnownKeyName(words[1])) {
        return "unknown key '" + std::string(words[1]) +
               "' (known: Tab, Shift+Tab, Left, Right, Up, Down, Space, Return)";
      }
      command.name = std::string(words[1]);
      return {};
    case Verb::Snapshot:
    case Verb::Record:
      command.name = std::string(words[1]);
      return {};
    case Verb::Play: {
      const auto seconds = ParseSeconds(words[1]);
      if (!seconds || *seconds > 86400.0) {
        return "SECONDS must be a number from 0 to 86400, not '" + std::string(words[1]) + "'";
      }
      command.seconds = *seconds;
      return {};
    }
    default:
      return {};
  }
}

}  // namespace

bool IsKnownKeyName(std::string_view name) {
  for (std::string_view known : kKeyNames) {
    if (name == known) return true;
  }
  return false;
}

Script ParseScript(std::string_view text) {
  Script script;
  bool closed = false;
  int lineNumber = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const auto words = SplitWords(line);
    if (words.empty() || words[0].front() == '#') continue;

    auto fail = [&](std::string message) {
      script.error = ParseError{lineNumber, std::move(message)};
      return script;
    };
    if (closed) return fail("nothing may follow 'close'");
    const VerbInfo* info = nullptr;
    for (const VerbInfo& candidate : kVerbs) {
      if (words[0] == candidate.word) info = &candidate;
    }
    if (!info) return fail("unknown command '" + std::string(words[0]) + "'");
    const std::size_t arguments = words.size() - 1;
    if (arguments < info->minArguments || arguments > info->maxArguments) {
      return fail("usage: " + std::string(info->usage));
    }
    Command command;
    command.verb = info->verb;
    command.line = lineNumber;
    if (std::string error = ParseArguments(words, command); !error.empty()) return fail(error);
    if (command.verb == Verb::Close) closed = true;
    script.commands.push_back(std::move(command));
  }
  return script;
}

}  // namespace tv::script

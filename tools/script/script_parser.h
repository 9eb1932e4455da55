// The language of tonvela-script: one command a line; blank lines and lines starting
// with '#' are ignored.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tv::script {

enum class Verb {
  Click,     // click ID
  Command,   // command ID
  Scroll,    // scroll ID CODE [POS]
  Key,       // key NAME
  Close,     // close
  Text,      // text ID
  Texts,     // texts
  State,     // state
  Snapshot,  // snapshot FILE.png
  FailOpen,  // fail-open
  Play,      // play SECONDS
  Record,    // record FILE.wav
};

struct Command {
  Verb verb = Verb::State;
  int line = 0;         // 1-based line number in the script
  int id = 0;           // click, command, scroll, text
  int code = 0;         // scroll
  int position = 0;     // scroll
  std::string name;     // key name or file path
  double seconds = 0;   // play
};

struct ParseError {
  int line;
  std::string message;
};

struct Script {
  std::vector<Command> commands;
  std::optional<ParseError> error;  // the first error; commands before it are kept
};

// Parses a whole script. Nothing may follow `close`.
Script ParseScript(std::string_view text);

// The key names that `key` accepts.
bool IsKnownKeyName(std::string_view name);

}  // namespace tv::script

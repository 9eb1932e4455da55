// The language of tonvela-script: one command a line; blank lines and lines starting
// with '#' are ignored. Controls and scroll codes are given by number or by name, and a
// word in double quotes may hold spaces.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tv::script {

enum class Verb {
  Click,     // click ID
  Command,   // command ID
  Scroll,    // scroll ID CODE [POS]
  Set,       // set frequency HZ | set harmonic K POSITION
  Key,       // key NAME
  Close,     // close
  Text,      // text ID
  Texts,     // texts
  State,     // state
  Snapshot,  // snapshot FILE.png
  Picture,   // picture FILE.png [AREA] [scale N]
  FailOpen,  // fail-open
  Play,      // play SECONDS
  Record,    // record FILE.wav [for SECONDS] [fade [MS]]
};

// What a picture shows: the whole window, or one panel with the texts that label it.
enum class PictureArea { Window, Waves, Composite, Spectrum };

struct Command {
  Verb verb = Verb::State;
  int line = 0;         // 1-based line number in the script
  int id = 0;           // click, command, scroll, text; set: the slider
  int code = 0;         // scroll
  int position = 0;     // scroll, set
  std::string name;     // key name or file path
  double seconds = 0;   // play; record: how long, when `timed`
  bool timed = false;   // record: stops by itself after `seconds`
  int fadeMs = 0;       // record: fade in and out over this many milliseconds
  PictureArea area = PictureArea::Window;  // picture
  int scale = 1;                           // picture
};

struct ParseError {
  int line;
  std::string message;
};

struct Script {
  std::vector<Command> commands;
  std::optional<ParseError> error;  // the first error; commands before it are kept
};

// Parses a whole script. A UTF-8 byte-order mark at its start is skipped. Nothing may
// follow `close`.
Script ParseScript(std::string_view text);

// The key names that `key` accepts.
bool IsKnownKeyName(std::string_view name);

struct NamedControl {
  std::string_view name;
  int id;
  std::string_view meaning;
};
// Every control name that stands for an ID, in the order that help lists them.
std::span<const NamedControl> ControlNames();

struct NamedScrollCode {
  std::string_view name;
  int code;
  std::string_view meaning;
};
// The scroll codes 0 to 8 with their names.
std::span<const NamedScrollCode> ScrollCodeNames();

// `text` in single quotes for a message: at most 80 characters of it, control
// characters and bytes that are not UTF-8 escaped.
std::string Quoted(std::string_view text);

inline constexpr int kDefaultFadeMs = 10;
inline constexpr int kMaxPictureScale = 4;

}  // namespace tv::script

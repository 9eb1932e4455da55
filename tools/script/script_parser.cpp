#include "tools/script/script_parser.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace tv::script {
namespace {

constexpr std::string_view kKeyNames[] = {"Tab", "Shift+Tab", "Left", "Right", "Up", "Down",
                                          "Space", "Return"};

constexpr NamedControl kControlNames[] = {
    {"square", 1008, "square-wave preset"},
    {"sawtooth", 1009, "sawtooth preset"},
    {"triangle", 1010, "triangle preset"},
    {"pulse", 1011, "repeated-pulse preset"},
    {"sine", 1012, "sine preset"},
    {"vowel-a", 1039, "female vowel \"a\" preset"},
    {"clear", 1040, "Clear"},
    {"volume-down", 1003, "lower the overall volume"},
    {"volume-up", 1007, "raise the overall volume"},
    {"frequency", 1014, "frequency slider, 0-2000 Hz"},
    {"harmonic1", 1018, "amplitude slider of harmonic 1 (the fundamental), 0-100"},
    {"harmonic2", 1019, "harmonic 2"},
    {"harmonic3", 1020, "harmonic 3"},
    {"harmonic4", 1021, "harmonic 4"},
    {"harmonic5", 1022, "harmonic 5"},
    {"harmonic6", 1028, "harmonic 6"},
    {"harmonic7", 1029, "harmonic 7"},
    {"harmonic8", 1030, "harmonic 8"},
    {"harmonic9", 1031, "harmonic 9"},
    {"harmonic10", 1032, "harmonic 10"},
    {"frequency-label", 1015, "the text under the frequency slider"},
    {"harmonic1-label", 1023, "the text under harmonic 1's slider"},
    {"harmonic2-label", 1024, "harmonic 2's"},
    {"harmonic3-label", 1025, "harmonic 3's"},
    {"harmonic4-label", 1026, "harmonic 4's"},
    {"harmonic5-label", 1027, "harmonic 5's"},
    {"harmonic6-label", 1033, "harmonic 6's"},
    {"harmonic7-label", 1034, "harmonic 7's"},
    {"harmonic8-label", 1035, "harmonic 8's"},
    {"harmonic9-label", 1036, "harmonic 9's"},
    {"harmonic10-label", 1037, "harmonic 10's"},
    {"warning", 1038, "the clipping warning"},
};

constexpr NamedScrollCode kScrollCodes[] = {
    {"lineleft", 0, "one step left: -1 Hz, or -0.01 of full amplitude"},
    {"lineright", 1, "one step right: +1 Hz, or +0.01"},
    {"pageleft", 2, "one page left: -10 Hz, or -0.10"},
    {"pageright", 3, "one page right: +10 Hz, or +0.10"},
    {"position", 4, "the dragged thumb was released at POS (the position stays)"},
    {"track", 5, "the thumb is dragged to POS"},
    {"left", 6, "to the left end (the program leaves the position)"},
    {"right", 7, "to the right end (the program leaves the position)"},
    {"end", 8, "the action ended (the position stays)"},
};

constexpr int kFrequencySlider = 1014;
constexpr int kHarmonicSliders[] = {1018, 1019, 1020, 1021, 1022, 1028, 1029, 1030, 1031, 1032};

// The words of a line; a word in double quotes may hold spaces, \" and \\.
struct Words {
  std::vector<std::string> words;
  std::string error;
};

Words SplitWords(std::string_view line) {
  Words result;
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && blank(line[i])) ++i;
    if (i == line.size()) break;
    std::string word;
    if (line[i] != '"') {
      while (i < line.size() && !blank(line[i])) word += line[i++];
      result.words.push_back(std::move(word));
      continue;
    }
    const std::size_t open = i++;
    bool closed = false;
    while (i < line.size()) {
      const char c = line[i++];
      if (c == '"') {
        closed = true;
        break;
      }
      if (c == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\')) {
        word += line[i++];
      } else {
        word += c;
      }
    }
    if (!closed) {
      result.error = "the quote that opens " + Quoted(line.substr(open)) + " is not closed";
      return result;
    }
    if (i < line.size() && !blank(line[i])) {
      result.error = "a closing quote must end its word: " + Quoted(line.substr(open));
      return result;
    }
    result.words.push_back(std::move(word));
  }
  return result;
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
    {"set", Verb::Set, 2, 3, "set frequency HZ, or set harmonic K POSITION"},
    {"key", Verb::Key, 1, 1, "key NAME"},
    {"close", Verb::Close, 0, 0, "close"},
    {"text", Verb::Text, 1, 1, "text ID"},
    {"texts", Verb::Texts, 0, 0, "texts"},
    {"state", Verb::State, 0, 0, "state"},
    {"snapshot", Verb::Snapshot, 1, 1, "snapshot FILE.png"},
    {"picture", Verb::Picture, 1, 4, "picture FILE.png [window|waves|composite|spectrum] [scale N]"},
    {"fail-open", Verb::FailOpen, 0, 0, "fail-open"},
    {"play", Verb::Play, 1, 1, "play SECONDS"},
    {"record", Verb::Record, 1, 5, "record FILE.wav [for SECONDS] [fade [MS]]"},
};

constexpr double kMaxSeconds = 86400.0;

std::optional<int> ControlId(std::string_view word) {
  for (const NamedControl& control : kControlNames) {
    if (word == control.name) return control.id;
  }
  const auto value = ParseInteger(word);
  if (!value || *value < -32768 || *value > 65535) return std::nullopt;
  return static_cast<int>(*value);
}

std::optional<int> ScrollCode(std::string_view word) {
  for (const NamedScrollCode& code : kScrollCodes) {
    if (word == code.name) return code.code;
  }
  const auto value = ParseInteger(word);
  if (!value || *value < 0 || *value > 8) return std::nullopt;
  return static_cast<int>(*value);
}

std::optional<int> IntegerIn(std::string_view word, long long low, long long high) {
  const auto value = ParseInteger(word);
  if (!value || *value < low || *value > high) return std::nullopt;
  return static_cast<int>(*value);
}

std::string NotAnId(std::string_view word) {
  return "ID must be a control name or an integer from -32768 to 65535, not " + Quoted(word) +
         " (names: tonvela-script --help)";
}

std::string ParseSet(const std::vector<std::string>& words, Command& command) {
  if (words[1] == "frequency" && words.size() == 3) {
    const auto hz = IntegerIn(words[2], 0, 2000);
    if (!hz) return "HZ must be a whole number from 0 to 2000, not " + Quoted(words[2]);
    command.id = kFrequencySlider;
    command.position = *hz;
    return {};
  }
  if (words[1] == "harmonic" && words.size() == 4) {
    const auto k = IntegerIn(words[2], 1, 10);
    if (!k) return "K must be a harmonic from 1 to 10, not " + Quoted(words[2]);
    const auto position = IntegerIn(words[3], 0, 100);
    if (!position) {
      return "POSITION must be a whole number from 0 to 100 (hundredths of full amplitude), not " +
             Quoted(words[3]);
    }
    command.id = kHarmonicSliders[*k - 1];
    command.position = *position;
    return {};
  }
  return "usage: set frequency HZ, or set harmonic K POSITION";
}

std::string ParsePicture(const std::vector<std::string>& words, Command& command) {
  command.name = words[1];
  bool areaGiven = false;
  for (std::size_t i = 2; i < words.size(); ++i) {
    const std::string& word = words[i];
    const std::pair<std::string_view, PictureArea> areas[] = {
        {"window", PictureArea::Window},
        {"waves", PictureArea::Waves},
        {"composite", PictureArea::Composite},
        {"spectrum", PictureArea::Spectrum}};
    bool isArea = false;
    for (const auto& [name, area] : areas) {
      if (word == name) {
        if (areaGiven) return "only one area may be given";
        command.area = area;
        areaGiven = isArea = true;
      }
    }
    if (isArea) continue;
    if (word == "scale") {
      if (i + 1 == words.size()) return "scale needs a number from 1 to 4";
      const auto scale = IntegerIn(words[++i], 1, kMaxPictureScale);
      if (!scale) return "scale must be a whole number from 1 to 4, not " + Quoted(words[i]);
      command.scale = *scale;
      continue;
    }
    return "unknown picture option " + Quoted(word) +
           " (areas: window, waves, composite, spectrum; and scale N)";
  }
  return {};
}

std::string ParseRecord(const std::vector<std::string>& words, Command& command) {
  command.name = words[1];
  for (std::size_t i = 2; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word == "for" && !command.timed) {
      if (i + 1 == words.size()) return "for needs SECONDS";
      const auto seconds = ParseSeconds(words[++i]);
      if (!seconds || *seconds <= 0 || *seconds > kMaxSeconds) {
        return "SECONDS must be a number above 0 and up to 86400, not " + Quoted(words[i]);
      }
      command.timed = true;
      command.seconds = *seconds;
      continue;
    }
    if (word == "fade" && command.fadeMs == 0) {
      command.fadeMs = kDefaultFadeMs;
      if (i + 1 < words.size() && words[i + 1] != "for") {
        const auto ms = IntegerIn(words[++i], 1, 1000);
        if (!ms) return "fade MS must be a whole number of milliseconds from 1 to 1000, not " + Quoted(words[i]);
        command.fadeMs = *ms;
      }
      continue;
    }
    return "unknown or repeated record option " + Quoted(word) + " (options: for SECONDS, fade [MS])";
  }
  return {};
}

// Fills `command` from the words after the verb; an error message, or empty.
std::string ParseArguments(const std::vector<std::string>& words, Command& command) {
  switch (command.verb) {
    case Verb::Click:
    case Verb::Command:
    case Verb::Text: {
      const auto id = ControlId(words[1]);
      if (!id) return NotAnId(words[1]);
      command.id = *id;
      return {};
    }
    case Verb::Scroll: {
      const auto id = ControlId(words[1]);
      if (!id) return NotAnId(words[1]);
      const auto code = ScrollCode(words[2]);
      if (!code) {
        return "CODE must be a scroll code from 0 to 8 or its name, not " + Quoted(words[2]) +
               " (lineleft, lineright, pageleft, pageright, position, track, left, right, end)";
      }
      command.id = *id;
      command.code = *code;
      if (words.size() > 3) {
        const auto position = IntegerIn(words[3], 0, 65535);
        if (!position) return "POS must be an integer from 0 to 65535, not " + Quoted(words[3]);
        command.position = *position;
      }
      return {};
    }
    case Verb::Set:
      return ParseSet(words, command);
    case Verb::Key:
      if (!IsKnownKeyName(words[1])) {
        return "unknown key " + Quoted(words[1]) +
               " (known: Tab, Shift+Tab, Left, Right, Up, Down, Space, Return)";
      }
      command.name = words[1];
      return {};
    case Verb::Snapshot:
      command.name = words[1];
      return {};
    case Verb::Picture:
      return ParsePicture(words, command);
    case Verb::Record:
      return ParseRecord(words, command);
    case Verb::Play: {
      const auto seconds = ParseSeconds(words[1]);
      if (!seconds || *seconds > kMaxSeconds) {
        return "SECONDS must be a number from 0 to 86400, not " + Quoted(words[1]);
      }
      command.seconds = *seconds;
      return {};
    }
    default:
      return {};
  }
}

// The length of the UTF-8 sequence at the start of `text`; 0 when it is not one.
std::size_t Utf8SequenceLength(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  char32_t value = 0;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    value = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    value = lead & 0x07;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    value = (value << 6) | (byte(i) & 0x3F);
  }
  const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (value < smallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  // C1 controls are escaped like the C0 ones.
  if (value >= 0x80 && value <= 0x9F) return 0;
  return length;
}

}  // namespace

bool IsKnownKeyName(std::string_view name) {
  for (std::string_view known : kKeyNames) {
    if (name == known) return true;
  }
  return false;
}

std::span<const NamedControl> ControlNames() { return kControlNames; }
std::span<const NamedScrollCode> ScrollCodeNames() { return kScrollCodes; }

std::string Quoted(std::string_view text) {
  constexpr int kMaxCharacters = 80;
  std::string result = "'";
  int characters = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    if (characters == kMaxCharacters) {
      result += "...";
      break;
    }
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const std::size_t length = Utf8SequenceLength(text.substr(i));
    if (length == 1 && c >= 0x20 && c != 0x7F && c != '\\' && c != '\'') {
      result += static_cast<char>(c);
    } else if (length > 1) {
      result.append(text.substr(i, length));
    } else if (c == '\t') {
      result += "\\t";
    } else if (c == '\r') {
      result += "\\r";
    } else if (c == '\\' || c == '\'') {
      result += '\\';
      result += static_cast<char>(c);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
      result += escaped;
    }
    i += length > 1 ? length : 1;
    ++characters;
  }
  return result + "'";
}

Script ParseScript(std::string_view text) {
  Script script;
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
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
    auto fail = [&](std::string message) {
      script.error = ParseError{lineNumber, std::move(message)};
      return script;
    };
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos || line[first] == '#') continue;
    Words split = SplitWords(line);
    if (!split.error.empty()) return fail(split.error);
    const std::vector<std::string>& words = split.words;

    if (closed) return fail("nothing may follow 'close'");
    const VerbInfo* info = nullptr;
    for (const VerbInfo& candidate : kVerbs) {
      if (words[0] == candidate.word) info = &candidate;
    }
    if (!info) return fail("unknown command " + Quoted(words[0]) + " (commands: tonvela-script --help)");
    const std::size_t arguments = words.size() - 1;
    if (arguments < info->minArguments || arguments > info->maxArguments) {
      return fail("usage: " + std::string(info->usage));
    }
    Command command;
    command.verb = info->verb;
    command.line = lineNumber;
    if (std::string error = ParseArguments(words, command); !error.empty()) return fail(error);
    const bool writesFile = command.verb == Verb::Snapshot || command.verb == Verb::Picture ||
                            command.verb == Verb::Record;
    if (writesFile && command.name.empty()) return fail("the file name is empty");
    if (command.verb == Verb::Close) closed = true;
    script.commands.push_back(std::move(command));
  }
  return script;
}

}  // namespace tv::script

#include "script_text_generator.h"

#include <iterator>
#include <string_view>

namespace tv::fuzz {
namespace {

constexpr std::string_view kWords[] = {
    "click", "command", "scroll", "key", "close", "text", "texts", "state", "snapshot",
    "fail-open", "play", "record", "Click", "clic", "#", "# comment", "Tab", "Shift+Tab",
    "Left", "Right", "Up", "Down", "Space", "Return", "Escape", "x.png", "x.wav", ""};

constexpr std::string_view kNumbers[] = {
    "0", "1", "2", "8", "9", "-1", "1008", "1040", "1014", "-32768", "-32769", "65535", "65536",
    "2147483647", "2147483648", "-9223372036854775808", "99999999999999999999", "+5", "0x10",
    "1e3", "1e400", "-0", "0.5", ".5", "5.", "nan", "inf", "-inf", "86400", "86400.0001",
    "4.9e-324", "1_000", "١"};

constexpr std::string_view kSeparators[] = {" ", "  ", "\t", " \t ", ""};

std::string_view Pick(ByteSource& bytes, const std::string_view* items, std::size_t count) {
  return items[bytes.Below(static_cast<std::uint32_t>(count))];
}

template <std::size_t N>
std::string_view Pick(ByteSource& bytes, const std::string_view (&items)[N]) {
  return Pick(bytes, items, N);
}

std::string Garbage(ByteSource& bytes) {
  std::string text;
  const int length = static_cast<int>(bytes.Below(12));
  for (int i = 0; i < length; ++i) text += static_cast<char>(bytes.Byte());
  return text;
}

}  // namespace

std::string ScriptText(ByteSource& bytes) {
  std::string text;
  const int lines = static_cast<int>(bytes.Below(40));
  for (int line = 0; line < lines; ++line) {
    text += Pick(bytes, kSeparators);
    const int words = static_cast<int>(bytes.Below(6));
    for (int word = 0; word < words; ++word) {
      const std::uint8_t kind = bytes.Byte();
      if (kind < 100) {
        text += Pick(bytes, kWords);
      } else if (kind < 200) {
        text += Pick(bytes, kNumbers);
      } else {
        text += Garbage(bytes);
      }
      text += Pick(bytes, kSeparators);
    }
    const std::uint8_t end = bytes.Byte();
    text += end < 200 ? "\n" : end < 230 ? "\r\n" : end < 250 ? "\r" : "";
  }
  return text;
}

std::string RunnableScript(ByteSource& bytes) {
  static constexpr std::string_view kButtons[] = {"1003", "1007", "1008", "1009", "1010",
                                                  "1011", "1012", "1039", "1040"};
  static constexpr std::string_view kSliders[] = {"1014", "1018", "1019", "1020", "1021", "1022",
                                                  "1028", "1029", "1030", "1031", "1032", "1015", "7"};
  static constexpr std::string_view kKeys[] = {"Tab", "Shift+Tab", "Left", "Right", "Up", "Down",
                                               "Space", "Return"};
  std::string text;
  const int lines = static_cast<int>(bytes.Below(60));
  for (int line = 0; line < lines; ++line) {
    switch (bytes.Byte() % 10) {
      case 0: case 1: case 2: text += "click " + std::string(Pick(bytes, kButtons)); break;
      case 3: text += "command " + std::to_string(static_cast<int>(bytes.Word()) - 32768); break;
      case 4:
        text += "scroll " + std::string(Pick(bytes, kSliders)) + " " + std::to_string(bytes.Below(9)) + " " +
                std::to_string(bytes.Word());
        break;
      case 5: text += "key " + std::string(Pick(bytes, kKeys)); break;
      case 6: text += "play " + std::to_string(bytes.Below(3)) + "." + std::to_string(bytes.Below(100)); break;
      case 7: text += "fail-open"; break;
      case 8: text += bytes.Byte() < 128 ? "state" : "texts"; break;
      default: text += "text " + std::string(Pick(bytes, kSliders)); break;
    }
    text += '\n';
  }
  if (bytes.Byte() < 128) text += "close\n";
  return text;
}

}  // namespace tv::fuzz

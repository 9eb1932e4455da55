// libFuzzer entry: the input is a script text; the parser must hold its promises.
#include <cstdlib>
#include <string_view>

#include "tools/script/script_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const tv::script::Script script = tv::script::ParseScript(text);
  int previous = 0;
  for (const tv::script::Command& command : script.commands) {
    if (command.line <= previous) std::abort();
    previous = command.line;
  }
  if (script.error && script.error->line <= previous) std::abort();
  return 0;
}

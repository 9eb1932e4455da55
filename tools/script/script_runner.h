// Runs a parsed script against the real program (WinMain and everything under it) on
// the headless backend. Each command is carried out when the program's message loop has
// nothing left to do, as a user acts only on what the window already shows.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "tools/script/script_parser.h"

namespace tv::script {

struct RunResult {
  bool ok = true;
  int errorLine = 0;
  std::string errorMessage;
};

// Writes the output of text, texts, state and close to `out`. Output files are staged
// and put in place only when the whole run succeeded, `out` included (see
// output_files.h); on failure none is changed.
RunResult RunScript(const std::vector<Command>& commands, std::ostream& out);

}  // namespace tv::script

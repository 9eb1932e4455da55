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

// Writes the output of text, texts, state and close to `out`. Output files are written
// under temporary names and given their real names only when the whole run succeeded;
// on failure none is left behind.
RunResult RunScript(const std::vector<Command>& commands, std::ostream& out);

}  // namespace tv::script

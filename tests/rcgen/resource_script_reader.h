// Reads back the statements of a resource script as resource compilers do, independent
// of the writer: quoted strings with their escapes undone, numbers in decimal or hex.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace tv::rcgen::testing {

using Token = std::variant<std::string, std::int64_t>;  // a quoted text or a number

// One statement: its keyword or leading number as a word, then its arguments.
struct Statement {
  std::string word;
  std::vector<Token> arguments;
};

// Splits a script into statements, one per line; comments, blank lines and
// preprocessor lines are skipped, except `#pragma`, kept with its text as the word.
std::vector<Statement> ReadStatements(const std::string& script);

}  // namespace tv::rcgen::testing

#include "resource_script_reader.h"

#include <cctype>
#include <sstream>
#include <stdexcept>

namespace tv::rcgen::testing {

namespace {

std::string ReadQuoted(const std::string& line, std::size_t& at) {
  std::string text;
  for (++at; at < line.size(); ++at) {
    const char c = line[at];
    if (c == '"') {
      if (at + 1 < line.size() && line[at + 1] == '"') {
        text += '"';
        ++at;
        continue;
      }
      ++at;
      return text;
    }
    if (c == '\\' && at + 1 < line.size()) {
      const char escaped = line[++at];
      if (escaped == 'n') text += '\n';
      else if (escaped == '\\') text += '\\';
      else throw std::runtime_error("unexpected escape in: " + line);
      continue;
    }
    text += c;
  }
  throw std::runtime_error("unterminated string in: " + line);
}

std::int64_t ReadNumber(const std::string& line, std::size_t& at) {
  std::size_t used = 0;
  const std::int64_t value = std::stoll(line.substr(at), &used, 0);
  at += used;
  return value;
}

}  // namespace

std::vector<Statement> ReadStatements(const std::string& script) {
  std::vector<Statement> statements;
  std::istringstream lines(script);
  std::string line;
  while (std::getline(lines, line)) {
    std::size_t at = line.find_first_not_of(" \t");
    if (at == std::string::npos || line.compare(at, 2, "//") == 0) continue;
    if (line[at] == '#') {
      if (line.compare(at, 7, "#pragma") == 0) statements.push_back({line.substr(at), {}});
      continue;
    }
    Statement statement;
    const std::size_t wordEnd = line.find_first_of(" \t", at);
    statement.word = line.substr(at, wordEnd - at);
    at = wordEnd;
    while (at != std::string::npos && at < line.size()) {
      const char c = line[at];
      if (c == ' ' || c == '\t' || c == ',') {
        ++at;
      } else if (c == '"') {
        statement.arguments.emplace_back(ReadQuoted(line, at));
      } else if (c == '-' || std::isdigit(static_cast<unsigned char>(c))) {
        statement.arguments.emplace_back(ReadNumber(line, at));
      } else if (line.compare(at, 2, "//") == 0) {
        break;
      } else {
        // A keyword inside a statement (e.g. ICON, DIALOGEX) is kept as text.
        const std::size_t end = line.find_first_of(" \t,", at);
        statement.arguments.emplace_back(line.substr(at, end - at));
        at = end;
      }
    }
    statements.push_back(std::move(statement));
  }
  return statements;
}

}  // namespace tv::rcgen::testing

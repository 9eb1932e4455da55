// Script texts for fuzzing tonvela-script: lines made of the language's own words, of
// numbers at and beyond every limit, and of arbitrary bytes.
#pragma once

#include <string>

#include "byte_source.h"

namespace tv::fuzz {

// Any text, mostly close to the language so that the parser gets past its first check.
std::string ScriptText(ByteSource& bytes);

// A script that parses, of the commands that need no files, with short plays.
std::string RunnableScript(ByteSource& bytes);

}  // namespace tv::fuzz

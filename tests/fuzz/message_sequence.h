// Runs the real program (WinMain, its message loop and everything under it) on the
// headless backend, acting as a user and as the output device by turns: each time the
// program is idle, the next step is read from the bytes and the idle invariants are
// checked. Sessions follow one another until the bytes are used up; each ends with the
// window closed, at a point the bytes chose or at their end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "byte_source.h"

namespace tv::fuzz {

struct RunReport {
  std::int64_t steps = 0;
  std::int64_t sessions = 0;
  std::int64_t samplesPlayed = 0;
  std::int64_t opens = 0;         // devices opened
  std::int64_t failedOpens = 0;   // beeps
  // The first invariant that broke, with the steps that led to it; empty when all held.
  std::vector<std::string> failures;
};

RunReport RunMessageSequences(ByteSource& bytes);

}  // namespace tv::fuzz

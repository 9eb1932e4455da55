// What must hold whenever the program is idle, that is, when every message it was sent
// or posted has been handled. Each check returns the violations it found, as sentences.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "platform/win32_api.h"

namespace tv::fuzz {

// The phase is a number in 0 … 6.283185307.
void CheckPhase(std::vector<std::string>& violations);

// Every addressed text of the dialog is valid code page 932 and fits the program's
// 256-byte label buffer with its terminating zero.
void CheckLabels(HWND dialog, std::vector<std::string>& violations);

// Streaming and an open device go together. While streaming the program holds exactly
// its four blocks and both headers are queued, so the device always has the next buffer
// and never runs dry; without a device it holds none.
void CheckStream(const std::set<void*>& heldBlocks, std::vector<std::string>& violations);

// The frequency and its slider record agree.
void CheckToneState(std::vector<std::string>& violations);

}  // namespace tv::fuzz

#include "idle_invariants.h"

#include <cmath>
#include <cstdio>
#include <string_view>

#include "app/label_text.h"
#include "app/tone_state.h"
#include "platform/core/cp932_text.h"
#include "platform/core/window_manager.h"
#include "sound/tone_generator.h"
#include "sound/wave_stream.h"

namespace tv::fuzz {
namespace {

constexpr double kPhaseLimit = 6.283185307;
constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

std::string Number(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

void CheckHeader(const char* name, const WAVEHDR* header, const char* block,
                 std::vector<std::string>& violations) {
  if (header == nullptr || block == nullptr) {
    violations.push_back(std::string("streaming without ") + name);
    return;
  }
  if (header->lpData != block || header->dwBufferLength != kPlaybackBytes) {
    violations.push_back(std::string(name) + " does not describe its 4000-byte block");
  }
  if ((header->dwFlags & WHDR_PREPARED) == 0) {
    violations.push_back(std::string(name) + " is not prepared while streaming");
  }
  if ((header->dwFlags & WHDR_INQUEUE) == 0) {
    violations.push_back(std::string(name) +
                         " is not queued while streaming: the device runs dry and the sound has a gap");
  }
}

}  // namespace

void CheckPhase(std::vector<std::string>& violations) {
  if (!(g_phase >= 0.0 && g_phase <= kPhaseLimit)) {
    violations.push_back("g_phase " + Number(g_phase) + " is outside 0 … 6.283185307");
  }
}

void CheckLabels(HWND dialog, std::vector<std::string>& violations) {
  const Window* window = FindWindowState(dialog);
  if (window == nullptr) return;
  for (HWND child : window->children) {
    const Window* control = FindWindowState(child);
    if (control == nullptr || control->kind != ControlKind::Static || control->id == -1) continue;
    const std::string& text = control->text;
    const std::string label = "label " + std::to_string(control->id);
    // The core converts the program's code page 932 bytes; anything invalid became U+FFFD.
    if (text.find(kReplacementCharacter) != std::string::npos) {
      violations.push_back(label + " was set to invalid code page 932: " + text);
      continue;
    }
    const std::string cp932 = Utf8ToCp932(text);
    if (Cp932ToUtf8(cp932) != text) {
      violations.push_back(label + " has characters outside code page 932: " + text);
    }
    if (cp932.size() >= static_cast<std::size_t>(kLabelBufferSize)) {
      violations.push_back(label + " is " + std::to_string(cp932.size()) +
                           " bytes, more than its 256-byte buffer holds");
    }
  }
}

void CheckStream(const std::set<void*>& heldBlocks, std::vector<std::string>& violations) {
  const bool streaming = g_streaming == 1;
  const bool open = g_hWaveOut != nullptr;
  if (g_streaming > 1) violations.push_back("g_streaming is " + std::to_string(g_streaming));
  if (streaming != open) {
    violations.push_back(std::string(streaming ? "streaming without a device"
                                               : "a device is open while not streaming"));
  }
  if (open) {
    const std::set<void*> blocks{g_waveHdr1, g_waveHdr2, g_waveData1, g_waveData2};
    if (heldBlocks != blocks) {
      violations.push_back("the program holds " + std::to_string(heldBlocks.size()) +
                           " blocks, not exactly its two headers and two sample blocks");
    }
    CheckHeader("header 1", g_waveHdr1, g_waveData1, violations);
    CheckHeader("header 2", g_waveHdr2, g_waveData2, violations);
    if (g_waveHdr1 == g_waveHdr2) violations.push_back("both headers are one block");
  } else {
    if (!heldBlocks.empty()) {
      violations.push_back(std::to_string(heldBlocks.size()) + " playback blocks are held with no device");
    }
    if (g_waveHdr1 || g_waveHdr2 || g_waveData1 || g_waveData2) {
      violations.push_back("a playback block pointer is left set with no device");
    }
  }
}

void CheckToneState(std::vector<std::string>& violations) {
  if (g_frequencyHz != static_cast<float>(g_sliderPos[0])) {
    violations.push_back("g_frequencyHz " + Number(g_frequencyHz) + " differs from its slider record " +
                         std::to_string(g_sliderPos[0]));
  }
  if (g_sliderPos[0] < 0 || g_sliderPos[0] > 2000) {
    violations.push_back("frequency slider record " + std::to_string(g_sliderPos[0]) + " outside 0 … 2000");
  }
}

}  // namespace tv::fuzz

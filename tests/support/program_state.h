// Running the real program on the headless backend, one test after another in one
// process.
#pragma once

#include "app/tone_state.h"
#include "platform/core/window_manager.h"
#include "platform/headless/headless_audio.h"
#include "platform/headless/headless_backend.h"
#include "platform/win32_api.h"
#include "sound/wave_stream.h"
#include "support/message_pump.h"

namespace tv::testing {

// Puts the program's state, the window manager, the headless backend and its audio
// clock back as a fresh process has them. Playback blocks still held are forgotten, not
// freed: a test that can leave some behind releases or checks them itself.
inline void ResetProgramState() {
  ResetWindowManager();
  headless::Backend().Reset();
  headless::ResetAudio();
  for (double& amplitude : g_amplitude) amplitude = 0.0;
  for (int& position : g_sliderPos) position = 0;
  g_masterGain = 0.0;
  g_frequencyHz = 0.0f;
  g_phase = 0.0;
  g_streaming = 0;
  g_hWaveOut = nullptr;
  g_waveHdr1 = g_waveHdr2 = nullptr;
  g_waveData1 = g_waveData2 = nullptr;
}

}  // namespace tv::testing

// The idle checks themselves: each one reports the fault it is there to catch, and stays
// quiet on the program's real state.
#include <gtest/gtest.h>

#include <functional>

#include "app/main_dialog.h"
#include "app/tone_state.h"
#include "idle_invariants.h"
#include "platform/core/window_manager.h"
#include "platform/headless/headless_audio.h"
#include "platform/headless/headless_backend.h"
#include "sound/wave_stream.h"
#include "support/program_state.h"

namespace tv::fuzz {
namespace {

class IdleInvariants : public ::testing::Test {
 protected:
  void SetUp() override {
    Reset();
    dialog = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(kMainDialogResourceId), nullptr, MainDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    Pump();
  }
  void TearDown() override {
    MainDialogProc(dialog, WM_CLOSE, 0, 0);
    Pump();
    if (g_hWaveOut != nullptr) CloseWaveOut();
    Reset();
  }
  static void Reset() { testing::ResetProgramState(); }
  void Pump() { testing::PumpUntilIdle(); }
  void Click(int id) {
    MainDialogProc(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED), 0);
    Pump();
  }
  std::vector<std::string> CheckAll() {
    std::vector<std::string> violations;
    CheckPhase(violations);
    CheckLabels(dialog, violations);
    std::set<void*> held;
    if (g_hWaveOut != nullptr) held = {g_waveHdr1, g_waveHdr2, g_waveData1, g_waveData2};
    CheckStream(held, violations);
    CheckToneState(violations);
    return violations;
  }

  HWND dialog = nullptr;
};

TEST_F(IdleInvariants, HoldOnTheProgramsOwnStateSilentAndStreaming) {
  EXPECT_TRUE(CheckAll().empty());
  Click(1008);
  ASSERT_NE(g_hWaveOut, nullptr);
  EXPECT_TRUE(CheckAll().empty()) << CheckAll().front();
  headless::AdvanceAudio(2000);
  Pump();
  EXPECT_TRUE(CheckAll().empty()) << CheckAll().front();
}

struct Fault {
  const char* name;
  std::function<void(HWND dialog)> inject;
  const char* reported;  // a part of the expected sentence
};

TEST_F(IdleInvariants, EachFaultIsReported) {
  const Fault faults[] = {
      {"phase past the wrap limit", [](HWND) { g_phase = 6.2831853071; }, "g_phase"},
      {"negative phase", [](HWND) { g_phase = -1e-12; }, "g_phase"},
      {"lead byte without its trail byte",
       [](HWND d) { SetWindowTextA(GetDlgItem(d, 1023), "\x90U\x95"); }, "invalid code page 932"},
      {"label longer than its buffer",
       [](HWND d) { SetWindowTextA(GetDlgItem(d, 1015), std::string(256, '9').c_str()); }, "256-byte"},
      {"frequency apart from its slider", [](HWND) { g_frequencyHz = 441.0f; }, "slider record"},
      {"streaming flag without a device", [](HWND) { g_streaming = 1; }, "without a device"},
      {"a header the device has handed back and nobody queued again",
       [](HWND d) {
         MainDialogProc(d, WM_COMMAND, 1008, 0);
         waveOutReset(g_hWaveOut);  // hands both back; their MM_WOM_DONE are not handled
       },
       "runs dry"},
  };
  for (const Fault& fault : faults) {
    SCOPED_TRACE(fault.name);
    TearDown();
    SetUp();
    fault.inject(dialog);
    const std::vector<std::string> violations = CheckAll();
    ASSERT_FALSE(violations.empty());
    EXPECT_NE(violations.front().find(fault.reported), std::string::npos) << violations.front();
    g_streaming = g_hWaveOut != nullptr ? 1 : 0;
  }
}

}  // namespace
}  // namespace tv::fuzz

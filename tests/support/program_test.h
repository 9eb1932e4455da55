// A fixture with the real dialog open on the headless backend, as a fresh process has it.
#pragma once

#include <gtest/gtest.h>

#include "app/main_dialog.h"
#include "support/program_state.h"

namespace tv::testing {

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProgramState();
    dialog = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(kMainDialogResourceId), nullptr,
                                MainDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    Pump();
  }
  void TearDown() override {
    if (FindWindowState(dialog)) SendClose();
    ResetProgramState();
  }

  void Pump() { PumpUntilIdle(); }
  // Closes the window as the close box does, and ends as WinMain does after its loop.
  void SendClose() {
    MainDialogProc(dialog, WM_CLOSE, 0, 0);
    Pump();
    if (g_hWaveOut) CloseWaveOut();
  }

  HWND dialog = nullptr;
};

}  // namespace tv::testing

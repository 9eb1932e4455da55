// The real dialog on the headless backend, reset to a fresh process before each test.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/main_dialog.h"
#include "app/tone_state.h"
#include "platform/core/window_manager.h"
#include "platform/headless/headless_audio.h"
#include "platform/headless/headless_backend.h"
#include "sound/wave_stream.h"

class AppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProcess();
    dialog = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(kMainDialogResourceId), nullptr,
                                MainDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    Pump();
  }
  void TearDown() override {
    if (tv::FindWindowState(dialog)) {
      SendClose();
    }
    ResetProcess();
  }

  static void ResetProcess() {
    tv::ResetWindowManager();
    tv::headless::Backend().Reset();
    tv::headless::ResetAudio();
    for (double& a : g_amplitude) a = 0.0;
    for (int& p : g_sliderPos) p = 0;
    g_masterGain = 0.0;
    g_frequencyHz = 0.0f;
    g_phase = 0.0;
    g_streaming = 0;
  }

  void Pump() {
    while (tv::HasQueuedMessages() || tv::AnyWindowInvalid()) {
      MSG msg;
      if (!GetMessageA(&msg, nullptr, 0, 0)) return;
      if (!IsDialogMessageA(msg.hwnd, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
    }
  }
  void SendClose() {
    MainDialogProc(dialog, WM_CLOSE, 0, 0);
    Pump();
    if (g_hWaveOut) CloseWaveOut();
  }

  void Scroll(int sliderId, int code, int position = 0) {
    MainDialogProc(dialog, WM_HSCROLL, MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(position)),
                   reinterpret_cast<LPARAM>(GetDlgItem(dialog, sliderId)));
    Pump();
  }
  std::string Text(int id) { return tv::FindWindowState(GetDlgItem(dialog, id))->text; }
  int Thumb(int id) { return tv::FindWindowState(GetDlgItem(dialog, id))->scrollPos; }

  HWND dialog = nullptr;
};

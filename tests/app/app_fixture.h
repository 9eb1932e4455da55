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
#include "support/program_test.h"

class AppTest : public tv::testing::ProgramTest {
 protected:

  void Scroll(int sliderId, int code, int position = 0) {
    MainDialogProc(dialog, WM_HSCROLL, MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(position)),
                   reinterpret_cast<LPARAM>(GetDlgItem(dialog, sliderId)));
    Pump();
  }
  std::string Text(int id) { return tv::FindWindowState(GetDlgItem(dialog, id))->text; }
  int Thumb(int id) { return tv::FindWindowState(GetDlgItem(dialog, id))->scrollPos; }
};

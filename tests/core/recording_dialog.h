// A dialog procedure that records what reaches it, over dialog template 101.
#pragma once

#include <vector>

#include "platform/core/window_manager.h"
#include "platform/headless/headless_audio.h"
#include "platform/headless/headless_backend.h"
#include "platform/win32_api.h"
#include "support/message_pump.h"

struct Delivered {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

inline std::vector<Delivered> g_delivered;

inline INT_PTR CALLBACK RecordingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  g_delivered.push_back({message, wParam, lParam});
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    BeginPaint(dialog, &paint);
    EndPaint(dialog, &paint);
    return TRUE;
  }
  if (message == WM_DESTROY) PostQuitMessage(0);
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

inline void ResetPlatform() {
  tv::ResetWindowManager();
  tv::headless::Backend().Reset();
  g_delivered.clear();
}

inline HWND CreateRecordingDialog() {
  return CreateDialogParamA(nullptr, MAKEINTRESOURCEA(101), nullptr, RecordingDialogProc, 0);
}

// Runs the message loop until nothing is left to do.
using tv::testing::PumpUntilIdle;

inline std::vector<UINT> DeliveredMessages() {
  std::vector<UINT> messages;
  for (const Delivered& d : g_delivered) messages.push_back(d.message);
  return messages;
}

// Running the message loop of the GUI thread in tests, without the program itself.
#pragma once

#include "platform/core/window_manager.h"
#include "platform/win32_api.h"

namespace tv::testing {

// Runs the message loop until nothing is queued and nothing waits to be
// painted, as between two actions of a user.
inline void PumpUntilIdle() {
  while (HasQueuedMessages() || AnyWindowInvalid()) {
    MSG msg;
    if (!GetMessageA(&msg, nullptr, 0, 0)) return;
    // As WinMain does: the dialog's handle, the one dialog that owns every window here.
    const Window* dialog = FindOwningDialog(msg.hwnd);
    if (!IsDialogMessageA(dialog ? dialog->handle : nullptr, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
}

}  // namespace tv::testing

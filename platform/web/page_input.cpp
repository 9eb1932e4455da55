// What the page reports of the user's actions, turned into the core's input messages.
#include <emscripten/emscripten.h>

#include <cstdint>

#include "platform/core/window_manager.h"

namespace {

HWND Handle(std::uintptr_t id) { return reinterpret_cast<HWND>(id); }

}  // namespace

extern "C" {

// A completed click on a button, as the platform's button reports it.
EMSCRIPTEN_KEEPALIVE void tv_web_click(std::uintptr_t button) {
  tv::PushInput(MSG{Handle(button), WM_LBUTTONDOWN, 0, 0, 0, {0, 0}});
  tv::PushInput(MSG{Handle(button), WM_LBUTTONUP, 0, 0, 0, {0, 0}});
}

// A scroll bar's action: WM_HSCROLL to its dialog with the code and thumb position.
EMSCRIPTEN_KEEPALIVE void tv_web_scroll(std::uintptr_t scrollBar, int code, int position) {
  const tv::Window* state = tv::FindWindowState(Handle(scrollBar));
  if (!state) return;
  tv::PushInput(MSG{state->parent, WM_HSCROLL,
                    MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(position)),
                    static_cast<LPARAM>(scrollBar), 0, {0, 0}});
}

// A key pressed or released, to the focused control (else the dialog), so that the
// dialog manager decides what it does.
EMSCRIPTEN_KEEPALIVE void tv_web_key(std::uintptr_t dialog, int pressed, int virtualKey) {
  HWND target = tv::GetFocusedControl();
  if (!target) target = Handle(dialog);
  tv::PushInput(MSG{target, static_cast<UINT>(pressed ? WM_KEYDOWN : WM_KEYUP),
                    static_cast<WPARAM>(virtualKey), 0, 0, {0, 0}});
}

// The close box of the dialog's caption.
EMSCRIPTEN_KEEPALIVE void tv_web_close(std::uintptr_t dialog) {
  tv::PushInput(MSG{Handle(dialog), WM_CLOSE, 0, 0, 0, {0, 0}});
}

}  // extern "C"

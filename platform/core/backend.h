// The seam between the shared window-manager core and the backend that the executable
// links: headless (tests, tonvela-script), Qt (the desktop program). Exactly one backend
// library defines tv::CurrentBackend(); a missing hook fails to link, not at run time.
//
// The core owns every window's state (texts, scroll ranges and positions, check states,
// focus, the painted raster). A backend only mirrors that state on screen, turns the
// user's actions into input messages (tv::PushInput), and waits for events.
#pragma once

#include <memory>

#include "platform/core/raster.h"
#include "platform/win32_api.h"

namespace tv {

class WaveSink;

class Backend {
 public:
  virtual ~Backend() = default;

  // The dialog and all of its controls exist in the core; build what shows them.
  virtual void DialogCreated(HWND dialog) = 0;
  // A control's text, scroll range or position, check state, or the focus changed.
  virtual void ControlChanged(HWND control) = 0;
  // The dialog's own text (its caption) changed.
  virtual void DialogChanged(HWND dialog) = 0;
  // The dialog is being destroyed; its handles become stale when this returns.
  virtual void DialogDestroyed(HWND dialog) = 0;
  // A paint of `window` has ended; `surface` holds its whole client area.
  virtual void PaintEnded(HWND window, const Raster& surface) = 0;
  // The colour of the erased background before a paint.
  virtual Rgb BackgroundColour() const = 0;

  // Called by GetMessageA on the GUI thread when no message is queued and no window is
  // invalid: block until input was pushed or another thread posted a message.
  virtual void WaitForEvents() = 0;
  // Any thread: a message was posted; wake WaitForEvents.
  virtual void WakeUp() = 0;

  virtual void Beep(UINT type) = 0;

  // The sink that the next opened wave-output device plays into; null when there is no
  // usable output device (the open then fails).
  virtual std::unique_ptr<WaveSink> CreateWaveSink() = 0;
};

// Defined by the linked backend library.
Backend& CurrentBackend();

}  // namespace tv

// The browser backend: the dialog as DOM elements over a <canvas> that shows the core's
// raster, GetMessageA waiting by handing control back to the browser, and sound through
// Web Audio. The page's side lives in page/tonvela-page.js; the calls between the two
// are declared in page_bridge.h.
//
// Capabilities:
//  - dialog: caption bar with a close box -> WM_CLOSE; client area at the template's size
//  - controls: statics (line feeds, wrapping), push buttons, auto radio buttons,
//    horizontal scroll bars that send the platform's scroll codes; every state mirrored
//    from the core, with accessible roles and names
//  - input: clicks as WM_LBUTTONDOWN/UP, scroll bars as WM_HSCROLL, keys as
//    WM_KEYDOWN/WM_KEYUP to the focused control so that IsDialogMessageA decides
//  - painting: PaintEnded hands the raster to the canvas, one pixel per CSS pixel
//  - waiting: WaitForEvents suspends the program (Asyncify) until input or a post
//  - sound: Web Audio at 16 kHz; MessageBeep plays a short tone
#pragma once

#include <memory>

#include "platform/core/backend.h"

namespace tv::web {

// The erase colour of the client area, as the page's stylesheet draws the dialog.
inline constexpr Rgb kBackgroundColour = MakeRgb(0xF0, 0xF0, 0xF0);

class WebBackend final : public Backend {
 public:
  void DialogCreated(HWND dialog) override;
  void ControlChanged(HWND control) override;
  void DialogChanged(HWND dialog) override;
  void DialogDestroyed(HWND dialog) override;
  void PaintEnded(HWND window, const Raster& surface) override;
  Rgb BackgroundColour() const override { return kBackgroundColour; }
  void WaitForEvents() override;
  void WakeUp() override;
  void Beep(UINT type) override;
  std::unique_ptr<WaveSink> CreateWaveSink() override;
};

WebBackend& Backend();

}  // namespace tv::web

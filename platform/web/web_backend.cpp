#include "platform/web/web_backend.h"

#include <cstdint>
#include <vector>

#include "platform/core/window_manager.h"
#include "platform/web/page_bridge.h"
#include "platform/web/web_wave_sink.h"

namespace tv::web {
namespace {

std::uintptr_t Id(HWND window) { return reinterpret_cast<std::uintptr_t>(window); }

int Width(const RECT& rect) { return rect.right - rect.left; }
int Height(const RECT& rect) { return rect.bottom - rect.top; }

// Point size to pixels at 96 dots per inch, rounded as the dialog's font is everywhere.
int FontPixels(int points) { return (points * 96 + 36) / 72; }

}  // namespace

void WebBackend::DialogCreated(HWND dialog) {
  const Window* state = FindWindowState(dialog);
  if (!state) return;
  const DialogTemplate* dialogTemplate = state->dialogTemplate;
  const std::string fontFace = dialogTemplate ? std::string(dialogTemplate->fontFace) : "";
  const int fontPixels = dialogTemplate ? FontPixels(dialogTemplate->fontPointSize) : 12;
  tv_page_dialog_created(Id(dialog), Width(state->rect), Height(state->rect), state->text.c_str(),
                         fontFace.c_str(), fontPixels);
  for (HWND child : state->children) {
    const Window* control = FindWindowState(child);
    if (!control) continue;
    tv_page_control_created(Id(dialog), Id(child), control->id, static_cast<int>(control->kind),
                            control->style, control->rect.left, control->rect.top,
                            Width(control->rect), Height(control->rect));
    ControlChanged(child);
  }
  if (!state->surface.pixels.empty()) PaintEnded(dialog, state->surface);
}

// The page keeps the controls it built and takes the new caption (its dialogCreated
// updates a dialog that it already shows).
void WebBackend::DialogChanged(HWND dialog) { DialogCreated(dialog); }

void WebBackend::ControlChanged(HWND control) {
  const Window* state = FindWindowState(control);
  if (!state) return;
  tv_page_control_changed(Id(control), state->text.c_str(), state->scrollMin, state->scrollMax,
                          state->scrollPos, state->checked ? 1 : 0,
                          GetFocusedControl() == control ? 1 : 0);
}

void WebBackend::DialogDestroyed(HWND dialog) { tv_page_dialog_destroyed(Id(dialog)); }

void WebBackend::PaintEnded(HWND window, const Raster& surface) {
  std::vector<std::uint8_t> rgba(surface.pixels.size() * 4);
  for (std::size_t i = 0; i < surface.pixels.size(); ++i) {
    const Rgb colour = surface.pixels[i];
    rgba[4 * i] = static_cast<std::uint8_t>(colour >> 16);
    rgba[4 * i + 1] = static_cast<std::uint8_t>(colour >> 8);
    rgba[4 * i + 2] = static_cast<std::uint8_t>(colour);
    rgba[4 * i + 3] = 0xFF;
  }
  tv_page_present(Id(window), rgba.data(), surface.width, surface.height);
}

void WebBackend::WaitForEvents() { tv_page_wait_for_events(); }

void WebBackend::WakeUp() { tv_page_wake(); }

void WebBackend::Beep(UINT) { tv_page_beep(); }

std::unique_ptr<WaveSink> WebBackend::CreateWaveSink() { return CreateWebWaveSink(); }

WebBackend& Backend() {
  static WebBackend backend;
  return backend;
}

}  // namespace tv::web

tv::Backend& tv::CurrentBackend() { return web::Backend(); }

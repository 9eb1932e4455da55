// The Qt 6 Widgets backend: one top-level widget per dialog, a widget per control, the
// core's raster shown 1:1 beneath them, and GetMessageA waiting in Qt's event loop.
//
// Capabilities:
//  - dialog: caption, fixed client size from the template, close box -> WM_CLOSE
//  - controls: statics (word wrap), push buttons (multi-line), auto radio buttons,
//    horizontal scroll bars; all state mirrored from the core, never kept by Qt
//  - input: mouse through the core (WM_LBUTTONDOWN/UP, WM_HSCROLL), keys as
//    WM_KEYDOWN/WM_KEYUP to the focused control so that IsDialogMessageA decides
//  - painting: PaintEnded copies the raster; the dialog widget draws it unscaled
//  - sound: the desktop's wave sink (PortAudio when built in); MessageBeep rings the bell
//
// A QApplication must exist before the first dialog is created.
#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <memory>

#include "platform/core/backend.h"

class QWidget;
class QAbstractEventDispatcher;

namespace tv::qt {

class DialogWidget;

class QtBackend final : public Backend {
 public:
  QtBackend();
  ~QtBackend() override;

  void DialogCreated(HWND dialog) override;
  void ControlChanged(HWND control) override;
  void DialogChanged(HWND dialog) override;
  void DialogDestroyed(HWND dialog) override;
  void PaintEnded(HWND window, const Raster& surface) override;
  Rgb BackgroundColour() const override;
  void WaitForEvents() override;
  void WakeUp() override;
  void Beep(UINT type) override;
  std::unique_ptr<WaveSink> CreateWaveSink() override;

  // The widget that shows `window` (a dialog or a control); null if none.
  QWidget* WidgetFor(HWND window) const;

  // Replaces the desktop's output device, e.g. by a test's own; null restores it.
  using WaveSinkFactory = std::function<std::unique_ptr<WaveSink>()>;
  void SetWaveSinkFactory(WaveSinkFactory factory) { sinkFactory_ = std::move(factory); }

 private:
  std::map<HWND, std::unique_ptr<DialogWidget>> dialogs_;
  WaveSinkFactory sinkFactory_;
  // Set on the GUI thread before any other thread can post; read by WakeUp.
  std::atomic<QAbstractEventDispatcher*> dispatcher_{nullptr};
};

QtBackend& Backend();

}  // namespace tv::qt

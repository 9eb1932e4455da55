#include "platform/qt/qt_backend.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QPalette>

#include "platform/core/window_manager.h"
#include "platform/qt/accessible_labels.h"
#include "platform/qt/application_look.h"
#include "platform/qt/desktop_wave_sink.h"
#include "platform/qt/dialog_widget.h"
#include "platform/qt/icon/application_icon.h"
#include "platform/wave/wave_sink.h"

namespace tv::qt {

QtBackend::QtBackend() = default;
QtBackend::~QtBackend() = default;

void QtBackend::DialogCreated(HWND dialog) {
  const Window* state = FindWindowState(dialog);
  if (!state) return;
  PrepareApplicationLook();
  InstallAccessibleRadioButtons();
  if (QApplication::windowIcon().isNull()) QApplication::setWindowIcon(ApplicationIcon());
  dispatcher_.store(QAbstractEventDispatcher::instance(QApplication::instance()->thread()));
  auto& widget = dialogs_[dialog];
  widget = std::make_unique<DialogWidget>(*state);
  UpdateAccessibleLabels(*state, [this](HWND control) { return WidgetFor(control); });
  // Shown from the event loop, by which time WM_INITDIALOG has set every text.
  if (state->style & WS_VISIBLE) widget->show();
}

void QtBackend::DialogChanged(HWND dialog) {
  if (const auto it = dialogs_.find(dialog); it != dialogs_.end()) it->second->SyncAll();
}

void QtBackend::ControlChanged(HWND control) {
  const Window* state = FindWindowState(control);
  if (!state) return;
  const auto it = dialogs_.find(state->parent);
  if (it == dialogs_.end()) return;
  it->second->SyncControl(*state);
  // A static's new text may be what a slider is called or what it describes.
  if (state->kind == ControlKind::Static) {
    if (const Window* dialog = FindWindowState(state->parent)) {
      UpdateAccessibleLabels(*dialog, [this](HWND handle) { return WidgetFor(handle); });
    }
  }
}

void QtBackend::DialogDestroyed(HWND dialog) { dialogs_.erase(dialog); }

void QtBackend::PaintEnded(HWND window, const Raster& surface) {
  const auto it = dialogs_.find(window);
  if (it != dialogs_.end()) it->second->PresentRaster(surface);
}

Rgb QtBackend::BackgroundColour() const {
  PrepareApplicationLook();
  const QColor colour = QApplication::palette().color(QPalette::Active, QPalette::Window);
  return MakeRgb(static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
                 static_cast<std::uint8_t>(colour.blue()));
}

void QtBackend::WaitForEvents() {
  // Returns after Qt handled at least one event or WakeUp was called; GetMessageA then
  // looks at its queue again and calls back if it is still empty.
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void QtBackend::WakeUp() {
  if (QAbstractEventDispatcher* dispatcher = dispatcher_.load()) dispatcher->wakeUp();
}

void QtBackend::Beep(UINT) { QApplication::beep(); }

std::unique_ptr<WaveSink> QtBackend::CreateWaveSink() {
  return sinkFactory_ ? sinkFactory_() : CreateDesktopWaveSink();
}

QWidget* QtBackend::WidgetFor(HWND window) const {
  if (const auto it = dialogs_.find(window); it != dialogs_.end()) return it->second.get();
  const Window* state = FindWindowState(window);
  if (!state) return nullptr;
  const auto it = dialogs_.find(state->parent);
  return it == dialogs_.end() ? nullptr : it->second->ControlWidget(window);
}

QtBackend& Backend() {
  static QtBackend backend;
  return backend;
}

}  // namespace tv::qt

tv::Backend& tv::CurrentBackend() { return qt::Backend(); }

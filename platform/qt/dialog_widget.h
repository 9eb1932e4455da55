// The top-level widget of one dialog: the core's painted raster at 1:1 with the control
// widgets on top, a fixed client size, and keys and the close box sent to the core.
#pragma once

#include <QImage>
#include <QWidget>
#include <map>

#include "platform/core/window_manager.h"

namespace tv::qt {

class ControlMirror;

class DialogWidget final : public QWidget {
 public:
  explicit DialogWidget(const Window& dialog);
  ~DialogWidget() override;

  // Caption and every control, from the core's state.
  void SyncAll();
  void SyncControl(const Window& control);
  // Keeps a copy of the client area as the program last painted it.
  void PresentRaster(const Raster& surface);
  QWidget* ControlWidget(HWND control) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void AddControl(const Window& control);
  void ForwardKey(int qtKey, bool pressed);

  HWND handle_;
  QImage painted_;
  std::map<HWND, ControlMirror*> controls_;  // the widgets are owned as Qt children
  bool shiftHeld_ = false;
};

}  // namespace tv::qt

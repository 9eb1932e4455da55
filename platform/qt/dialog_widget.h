// The top-level widget of one dialog: the core's painted raster at 1:1 with the control
// widgets on top, a fixed client size, and keys and the close box sent to the core.
#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <map>

#include "platform/core/window_manager.h"
#include "platform/qt/changed_area.h"

namespace tv::qt {

class ControlMirror;

class DialogWidget final : public QWidget {
 public:
  explicit DialogWidget(const Window& dialog);
  ~DialogWidget() override;

  // Caption and every control, from the core's state.
  void SyncAll();
  void SyncControl(const Window& control);
  // The program painted its client area: schedules the changed part for the screen,
  // at most once per screen refresh.
  void PresentRaster(const Raster& surface);
  // Draws `raster`, of the client area's size, instead of the core's from now on (a
  // picture of the window with the erased background in another colour); null goes
  // back to the core's. The raster must outlive its use.
  void ShowFixedRaster(const Raster* raster);
  QWidget* ControlWidget(HWND control) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void AddControl(const Window& control);
  void ForwardKey(int qtKey, bool pressed);
  // Asks Qt to repaint the rectangle where the raster differs from what was last
  // handed to Qt.
  void UpdateChangedArea();
  const Raster* CurrentRaster() const;

  HWND handle_;
  // What was last handed to Qt, only to find what changed; the window draws the core's
  // raster itself.
  ChangeTracker changes_;
  QTimer presentTimer_;
  QElapsedTimer sincePresent_;
  const Raster* fixedRaster_ = nullptr;
  std::map<HWND, ControlMirror*> controls_;  // the widgets are owned as Qt children
  bool shiftHeld_ = false;
};

}  // namespace tv::qt

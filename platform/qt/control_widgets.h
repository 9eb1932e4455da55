// The widgets that show the dialog's controls. Each mirrors the core's state of its
// control and reports the user's actions to the core as input messages; none keeps
// a state of its own that could drift from the core's (check marks, thumb positions).
#pragma once

#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "platform/core/window_manager.h"

namespace tv::qt {

class ControlMirror {
 public:
  virtual ~ControlMirror() = default;
  virtual QWidget* AsWidget() = 0;
  // Shows `state` (text, range and position, check mark) as the core now holds it.
  virtual void Sync(const Window& state) = 0;
};

// A left-aligned static: line feeds break lines, long lines wrap, the control clips.
class StaticControl final : public QWidget, public ControlMirror {
 public:
  explicit StaticControl(QWidget* parent);
  QWidget* AsWidget() override { return this; }
  void Sync(const Window& state) override;
  const QString& Text() const { return text_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString text_;
};

// A push button whose text wraps onto several lines when it does not fit on one.
class PushButtonControl final : public QPushButton, public ControlMirror {
 public:
  PushButtonControl(HWND handle, QWidget* parent);
  QWidget* AsWidget() override { return this; }
  void Sync(const Window& state) override;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// An auto radio button whose check mark is the core's: a click only reports itself.
// The mark is 13 pixels square with the text 3 pixels to its right, as on the platform;
// the whole control takes clicks.
class RadioButtonControl final : public QRadioButton, public ControlMirror {
 public:
  static constexpr int kMarkSize = 13;
  static constexpr int kTextLeft = 16;

  RadioButtonControl(HWND handle, QWidget* parent);
  QWidget* AsWidget() override { return this; }
  void Sync(const Window& state) override;

 protected:
  void nextCheckState() override {}
  bool hitButton(const QPoint& position) const override { return rect().contains(position); }
  void paintEvent(QPaintEvent* event) override;
};

// A horizontal scroll bar that sends WM_HSCROLL with the platform's codes and whose
// thumb shows only the position the program last set.
class ScrollBarControl final : public QScrollBar, public ControlMirror {
 public:
  ScrollBarControl(HWND handle, HWND dialog, QWidget* parent);
  QWidget* AsWidget() override { return this; }
  void Sync(const Window& state) override;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void OnAction(int action);
  void Send(int code, int position);

  HWND handle_;
  HWND dialog_;
  int shownPosition_ = 0;     // the core's position, as last synchronised
  int trackedPosition_ = 0;   // where the dragged thumb was last reported
  bool leftButtonDown_ = false;
};

}  // namespace tv::qt

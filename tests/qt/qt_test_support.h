// The dialog of the real program on the Qt backend, created as WinMain creates it and
// run by the same message loop until nothing is left to do, with the dialog procedure's
// WM_COMMAND and WM_HSCROLL recorded on the way.
#pragma once

#include <gtest/gtest.h>

#include <QPoint>
#include <QRect>
#include <QStyle>
#include <QWidget>
#include <vector>

#include "platform/core/window_manager.h"

namespace tv::qt_test {

struct Notification {
  UINT message = 0;
  int code = 0;      // WM_HSCROLL: the scroll code; WM_COMMAND: the control ID
  int position = 0;  // WM_HSCROLL: the high word of wParam
  HWND control = nullptr;

  bool operator==(const Notification&) const = default;
};
void PrintTo(const Notification& notification, std::ostream* out);

Notification HScroll(int code, int position, HWND control);
Notification Command(int id, HWND control);

class QtDialogTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Lets Qt deliver its events, then runs the program's message loop until it is idle.
  void PumpUntilIdle();

  HWND Dialog() const { return dialog_; }
  HWND Control(int id) const;
  const Window& State(int id) const;
  QWidget& DialogWidget() const;
  QWidget& Widget(int id) const;
  template <typename T>
  T& WidgetAs(int id) const {
    auto* widget = dynamic_cast<T*>(&Widget(id));
    if (!widget) throw std::logic_error("control has another widget type");
    return *widget;
  }

  // From now on WM_HSCROLL is recorded but not handed to the program, which therefore
  // never calls SetScrollPos in reply.
  void WithholdScrollsFromProgram();

  // The WM_COMMAND and WM_HSCROLL messages that reached the dialog procedure.
  std::vector<Notification> TakeNotifications();

  // Where a part (arrow, trough, thumb) of a slider's scroll bar is drawn, in its widget.
  QRect ScrollBarPart(int id, QStyle::SubControl part) const;

  // A user's left click at `point` of the control's widget (its centre by default).
  void Click(int id);
  void Click(int id, QPoint point);

 private:
  HWND dialog_ = nullptr;
};

}  // namespace tv::qt_test

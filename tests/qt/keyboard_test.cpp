// Keys typed into the Qt window reach the dialog manager: Tab and Shift+Tab move the
// focus between the two volume buttons only, Space and Enter press the focused one.
#include <QTest>

#include "qt_test_support.h"

namespace tv::qt_test {
namespace {

class KeyboardTest : public QtDialogTest {
 protected:
  // Typed where Qt sends keys: to the focused widget, else to the window.
  void Type(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = DialogWidget().focusWidget();
    QTest::keyClick(target ? target : &DialogWidget(), key, modifiers);
    PumpUntilIdle();
  }

  void ExpectFocusOn(int id) {
    EXPECT_EQ(GetFocusedControl(), Control(id));
    EXPECT_EQ(DialogWidget().focusWidget(), &Widget(id));
  }
};

struct FocusStep {
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
  int focusAfter;
};

TEST_F(KeyboardTest, TabAndShiftTabCycleBetweenTheTwoVolumeButtonsOnly) {
  const FocusStep steps[] = {
      {Qt::Key_Tab, Qt::NoModifier, 1007},    {Qt::Key_Tab, Qt::NoModifier, 1003},
      {Qt::Key_Tab, Qt::NoModifier, 1007},    {Qt::Key_Tab, Qt::ShiftModifier, 1003},
      {Qt::Key_Tab, Qt::ShiftModifier, 1007}, {Qt::Key_Backtab, Qt::NoModifier, 1003},
  };
  ExpectFocusOn(1003);
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    SCOPED_TRACE("step " + std::to_string(i));
    Type(steps[i].key, steps[i].modifiers);
    ExpectFocusOn(steps[i].focusAfter);
  }
  EXPECT_TRUE(TakeNotifications().empty());  // moving the focus presses nothing
}

TEST_F(KeyboardTest, SpaceAndEnterPressTheFocusedVolumeButton) {
  struct Press {
    Qt::Key key;
    int focused;
  };
  for (const Press press : {Press{Qt::Key_Space, 1003}, Press{Qt::Key_Return, 1003},
                            Press{Qt::Key_Enter, 1003}, Press{Qt::Key_Space, 1007},
                            Press{Qt::Key_Return, 1007}}) {
    SCOPED_TRACE("key " + std::to_string(press.key) + " on " + std::to_string(press.focused));
    while (GetFocusedControl() != Control(press.focused)) Type(Qt::Key_Tab);
    Type(press.key);
    EXPECT_EQ(TakeNotifications(), std::vector{Command(press.focused, Control(press.focused))});
  }
}

TEST_F(KeyboardTest, AfterAPresetClickTheArrowKeysWalkAndCheckThePresets) {
  Click(1008, QPoint(5, Widget(1008).height() / 2));
  TakeNotifications();
  Type(Qt::Key_Right);
  EXPECT_EQ(GetFocusedControl(), Control(1009));
  EXPECT_TRUE(State(1009).checked);
  EXPECT_FALSE(State(1008).checked);
  EXPECT_EQ(TakeNotifications(), std::vector{Command(1009, Control(1009))});
}

}  // namespace
}  // namespace tv::qt_test

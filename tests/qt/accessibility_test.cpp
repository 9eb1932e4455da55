// What a screen reader learns through Qt's accessibility interface: every button by its
// text, every slider by the text that labels it, with its value and the text that
// describes it, kept up to date as the program changes them; and the window's icon.
#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QApplication>

#include "qt_test_support.h"

namespace tv::qt_test {
namespace {

// Slider ID, the static that names it, the static that describes it (0: none).
struct SliderLabels {
  int slider;
  int namePlace;     // 1-based place in the dialog template (names have no ID)
  int descriptionId;
};
constexpr SliderLabels kSliders[] = {
    {1014, 2, 0},     {1018, 23, 1023}, {1019, 24, 1024}, {1020, 25, 1025},
    {1021, 26, 1026}, {1022, 27, 1027}, {1028, 28, 1033}, {1029, 29, 1034},
    {1030, 30, 1035}, {1031, 31, 1036}, {1032, 32, 1037},
};

class AccessibilityTest : public QtDialogTest {
 protected:
  QAccessibleInterface& Accessible(int id) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&Widget(id));
    if (!accessible) throw std::logic_error("no accessible interface");
    return *accessible;
  }
  std::string TextAt(int place) {
    return FindWindowState(FindWindowState(Dialog())->children.at(place - 1))->text;
  }

  void ExpectSlidersAsTheCoreHasThem() {
    for (const SliderLabels& slider : kSliders) {
      SCOPED_TRACE("slider " + std::to_string(slider.slider));
      QAccessibleInterface& accessible = Accessible(slider.slider);
      EXPECT_EQ(accessible.role(), QAccessible::ScrollBar);
      EXPECT_EQ(accessible.text(QAccessible::Name).toStdString(), TextAt(slider.namePlace));
      EXPECT_FALSE(accessible.text(QAccessible::Name).isEmpty());
      const std::string description = slider.descriptionId ? State(slider.descriptionId).text : "";
      EXPECT_EQ(accessible.text(QAccessible::Description).toStdString(), description);
      QAccessibleValueInterface* value = accessible.valueInterface();
      ASSERT_NE(value, nullptr);
      EXPECT_EQ(value->currentValue().toInt(), State(slider.slider).scrollPos);
      EXPECT_EQ(value->minimumValue().toInt(), 0);
      EXPECT_EQ(value->maximumValue().toInt(), slider.slider == 1014 ? 2000 : 100);
    }
  }
};

TEST_F(AccessibilityTest, EveryButtonIsNamedByItsText) {
  for (const int id : {1008, 1009, 1010, 1011, 1012, 1039, 1040, 1003, 1007}) {
    SCOPED_TRACE(id);
    QAccessibleInterface& accessible = Accessible(id);
    EXPECT_EQ(accessible.text(QAccessible::Name).toStdString(), State(id).text);
    EXPECT_FALSE(State(id).text.empty());
    const bool preset = id != 1003 && id != 1007;
    EXPECT_EQ(accessible.role(), preset ? QAccessible::RadioButton : QAccessible::Button);
    EXPECT_EQ(accessible.state().checkable, preset);
    ASSERT_NE(accessible.actionInterface(), nullptr);
    EXPECT_TRUE(accessible.actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
  }
  // The checked preset says so; pressing one through the interface is a click.
  Click(1008, QPoint(5, Widget(1008).height() / 2));
  PumpUntilIdle();
  EXPECT_TRUE(Accessible(1008).state().checked);
  EXPECT_FALSE(Accessible(1009).state().checked);
  TakeNotifications();
  Accessible(1009).actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  PumpUntilIdle();
  EXPECT_EQ(TakeNotifications(), (std::vector{Command(1009, Control(1009))}));
  EXPECT_TRUE(Accessible(1009).state().checked);
  EXPECT_FALSE(Accessible(1008).state().checked);
}

TEST_F(AccessibilityTest, EverySliderHasItsLabelItsValueAndItsDescription) {
  ExpectSlidersAsTheCoreHasThem();
  EXPECT_EQ(Accessible(1014).text(QAccessible::Name).toStdString(), "現在の基本周波数=440 Hz");
  EXPECT_EQ(Accessible(1020).text(QAccessible::Name).toStdString(), "第３倍音（第３高調波）");
  // A preset moves the thumbs and rewrites the labels: the interface follows.
  Click(1039, QPoint(5, Widget(1039).height() / 2));
  PumpUntilIdle();
  ExpectSlidersAsTheCoreHasThem();
  EXPECT_NE(Accessible(1018).valueInterface()->currentValue().toInt(), 0);
}

TEST_F(AccessibilityTest, TheWindowCarriesTheApplicationIcon) {
  const QIcon icon = DialogWidget().windowIcon();
  ASSERT_FALSE(icon.isNull());
  for (const int size : {16, 32, 48}) {
    const QImage image = icon.pixmap(size, size).toImage();
    EXPECT_EQ(image.size(), QSize(size, size));
    // Not a blank square: the dark tile with its traces.
    EXPECT_NE(image.pixel(size / 2, size / 2), image.pixel(0, 0));
  }
}

}  // namespace
}  // namespace tv::qt_test

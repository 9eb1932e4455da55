// Mouse input through Qt: preset and volume buttons, and the scroll bars' arrows,
// trough and thumb, with the messages the program receives and what the user then sees.
#include <QRadioButton>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTest>

#include "app/tone_state.h"
#include "platform/qt/control_widgets.h"
#include "qt_test_support.h"

namespace tv::qt_test {
namespace {

constexpr int kPresetIds[] = {1008, 1009, 1010, 1011, 1039, 1040, 1012};
constexpr int kFrequencySliderId = 1014;
constexpr int kFundamentalSliderId = 1018;

class MouseInputTest : public QtDialogTest {
 protected:
  QScrollBar& ScrollBar(int id) { return WidgetAs<QScrollBar>(id); }

  QRect PartOf(int id, QStyle::SubControl part) { return ScrollBarPart(id, part); }

  // Puts the slider at `position` as the program would, through the scroll message.
  void MoveSliderTo(int id, int position) {
    PushInput(MSG{Dialog(), WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, static_cast<WORD>(position)),
                  reinterpret_cast<LPARAM>(Control(id)), 0, {0, 0}});
    PumpUntilIdle();
    TakeNotifications();
  }

  void ExpectSliderShows(int id, int position) {
    EXPECT_EQ(State(id).scrollPos, position);
    EXPECT_EQ(ScrollBar(id).value(), position);
    EXPECT_EQ(ScrollBar(id).sliderPosition(), position);
  }
};

TEST_F(MouseInputTest, ClickingAPresetChecksItAndClearsTheOtherSix) {
  for (const int clicked : kPresetIds) {
    SCOPED_TRACE("clicked " + std::to_string(clicked));
    Click(clicked, QPoint(5, Widget(clicked).height() / 2));  // on the mark
    EXPECT_EQ(TakeNotifications(), std::vector{Command(clicked, Control(clicked))});
    for (const int preset : kPresetIds) {
      SCOPED_TRACE("preset " + std::to_string(preset));
      EXPECT_EQ(State(preset).checked, preset == clicked);
      EXPECT_EQ(WidgetAs<QRadioButton>(preset).isChecked(), preset == clicked);
    }
    EXPECT_EQ(GetFocusedControl(), Control(clicked));
  }
}

TEST_F(MouseInputTest, ClickingAPresetsTextCountsAsWell) {
  Click(1011, QPoint(Widget(1011).width() - 3, Widget(1011).height() / 2));
  EXPECT_TRUE(State(1011).checked);
  EXPECT_TRUE(WidgetAs<QRadioButton>(1011).isChecked());
}

TEST_F(MouseInputTest, ClickingAVolumeButtonSendsItsCommandAndLeavesPresetsAlone) {
  Click(1012);
  TakeNotifications();
  for (const int id : {1003, 1007}) {
    SCOPED_TRACE("button " + std::to_string(id));
    Click(id);
    EXPECT_EQ(TakeNotifications(), std::vector{Command(id, Control(id))});
    EXPECT_TRUE(State(1012).checked);
  }
}

struct ScrollCase {
  const char* name;
  QStyle::SubControl part;
  int code;
  int step;  // how the program moves the slider for this code
};

class ScrollBarClickTest : public MouseInputTest,
                           public ::testing::WithParamInterface<ScrollCase> {};

TEST_P(ScrollBarClickTest, OneClickSendsItsCodeThenEndScrollAndTheLabelFollows) {
  const ScrollCase& c = GetParam();
  MoveSliderTo(kFrequencySliderId, 700);
  const HWND slider = Control(kFrequencySliderId);
  QTest::mouseClick(&ScrollBar(kFrequencySliderId), Qt::LeftButton, Qt::NoModifier,
                    PartOf(kFrequencySliderId, c.part).center());
  PumpUntilIdle();
  EXPECT_EQ(TakeNotifications(),
            (std::vector{HScroll(c.code, 0, slider), HScroll(SB_ENDSCROLL, 0, slider)}));
  const int expected = 700 + c.step;
  ExpectSliderShows(kFrequencySliderId, expected);
  EXPECT_EQ(g_frequencyHz, static_cast<float>(expected));
  EXPECT_NE(State(kFrequencyLabelId).text.find(std::to_string(expected)), std::string::npos)
      << State(kFrequencyLabelId).text;
  EXPECT_EQ(WidgetAs<qt::StaticControl>(kFrequencyLabelId).Text().toStdString(),
            State(kFrequencyLabelId).text);
}

INSTANTIATE_TEST_SUITE_P(
    ArrowsAndTrough, ScrollBarClickTest,
    ::testing::Values(ScrollCase{"RightArrow", QStyle::SC_ScrollBarAddLine, SB_LINERIGHT, 1},
                      ScrollCase{"LeftArrow", QStyle::SC_ScrollBarSubLine, SB_LINELEFT, -1},
                      ScrollCase{"TroughRight", QStyle::SC_ScrollBarAddPage, SB_PAGERIGHT, 10},
                      ScrollCase{"TroughLeft", QStyle::SC_ScrollBarSubPage, SB_PAGELEFT, -10}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MouseInputTest, HoldingAnArrowRepeatsTheLineStepUntilRelease) {
  MoveSliderTo(kFrequencySliderId, 700);
  QScrollBar& bar = ScrollBar(kFrequencySliderId);
  const QPoint arrow = PartOf(kFrequencySliderId, QStyle::SC_ScrollBarAddLine).center();
  QTest::mousePress(&bar, Qt::LeftButton, Qt::NoModifier, arrow);
  // Between Qt's events the program's loop runs, as GetMessageA waits in Qt's loop.
  for (int i = 0; i < 20; ++i) {
    QTest::qWait(50);
    PumpUntilIdle();
  }
  QTest::mouseRelease(&bar, Qt::LeftButton, Qt::NoModifier, arrow);
  PumpUntilIdle();

  const auto notifications = TakeNotifications();
  ASSERT_GE(notifications.size(), 4u) << "the arrow did not repeat";
  const HWND slider = Control(kFrequencySliderId);
  for (std::size_t i = 0; i + 1 < notifications.size(); ++i) {
    EXPECT_EQ(notifications[i], HScroll(SB_LINERIGHT, 0, slider)) << "message " << i;
  }
  EXPECT_EQ(notifications.back(), HScroll(SB_ENDSCROLL, 0, slider));
  ExpectSliderShows(kFrequencySliderId, 700 + static_cast<int>(notifications.size()) - 1);
}

TEST_F(MouseInputTest, DraggingTheThumbTracksThenSendsThumbPositionAndEndScroll) {
  const int id = kFundamentalSliderId;
  QScrollBar& bar = ScrollBar(id);
  const QPoint grab = PartOf(id, QStyle::SC_ScrollBarSlider).center();
  QTest::mousePress(&bar, Qt::LeftButton, Qt::NoModifier, grab);
  for (int dx = 10; dx <= 100; dx += 10) {
    QTest::mouseMove(&bar, grab + QPoint(dx, 0));
    PumpUntilIdle();
  }
  QTest::mouseRelease(&bar, Qt::LeftButton, Qt::NoModifier, grab + QPoint(100, 0));
  PumpUntilIdle();

  const auto notifications = TakeNotifications();
  ASSERT_GE(notifications.size(), 3u);
  const HWND slider = Control(id);
  int last = 0;
  for (std::size_t i = 0; i + 2 < notifications.size(); ++i) {
    SCOPED_TRACE("message " + std::to_string(i));
    EXPECT_EQ(notifications[i].code, SB_THUMBTRACK);
    EXPECT_EQ(notifications[i].control, slider);
    EXPECT_GT(notifications[i].position, last);
    last = notifications[i].position;
  }
  EXPECT_GT(last, 0);
  EXPECT_EQ(notifications[notifications.size() - 2], HScroll(SB_THUMBPOSITION, last, slider));
  EXPECT_EQ(notifications.back(), HScroll(SB_ENDSCROLL, 0, slider));

  ExpectSliderShows(id, last);
  EXPECT_DOUBLE_EQ(g_amplitude[0], static_cast<double>(static_cast<float>(last) /
                                                      static_cast<float>(g_sliderMax[1])));
  EXPECT_EQ(WidgetAs<qt::StaticControl>(g_labelIds[0]).Text().toStdString(),
            State(g_labelIds[0]).text);
  EXPECT_NE(State(g_labelIds[0]).text, "Static");
  // The thumb is drawn where the program put it: under the pointer.
  EXPECT_LE(std::abs(PartOf(id, QStyle::SC_ScrollBarSlider).center().x() - (grab.x() + 100)), 2);
}

TEST_F(MouseInputTest, TheThumbStaysWhereTheProgramLastPutItWhenTheProgramDoesNotMoveIt) {
  MoveSliderTo(kFrequencySliderId, 700);
  WithholdScrollsFromProgram();
  QScrollBar& bar = ScrollBar(kFrequencySliderId);
  for (const auto part : {QStyle::SC_ScrollBarAddLine, QStyle::SC_ScrollBarAddPage,
                          QStyle::SC_ScrollBarSubPage}) {
    QTest::mouseClick(&bar, Qt::LeftButton, Qt::NoModifier, PartOf(kFrequencySliderId, part).center());
    PumpUntilIdle();
    ExpectSliderShows(kFrequencySliderId, 700);
  }
  const QPoint grab = PartOf(kFrequencySliderId, QStyle::SC_ScrollBarSlider).center();
  QTest::mousePress(&bar, Qt::LeftButton, Qt::NoModifier, grab);
  QTest::mouseMove(&bar, grab + QPoint(40, 0));
  PumpUntilIdle();
  ExpectSliderShows(kFrequencySliderId, 700);
  QTest::mouseRelease(&bar, Qt::LeftButton, Qt::NoModifier, grab + QPoint(40, 0));
  PumpUntilIdle();
  ExpectSliderShows(kFrequencySliderId, 700);
  EXPECT_FALSE(TakeNotifications().empty());  // the messages did go out
}

}  // namespace
}  // namespace tv::qt_test

// tonvela-script's pictures are the desktop window: after the same actions, its picture
// of the whole window equals a grab of the window on the Qt backend pixel for pixel;
// an area is the same pixels cut out, and a larger scale enlarges the program's drawing
// without blur. A drag of a slider and `set` send the same messages.
#include <QImage>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "app/tone_state.h"
#include "qt_test_support.h"

namespace tv::qt_test {
namespace {

struct Difference {
  int count = 0;
  std::string first;
};

Difference Compare(const QImage& shown, const QImage& picture) {
  Difference difference;
  for (int y = 0; y < shown.height(); ++y) {
    for (int x = 0; x < shown.width(); ++x) {
      if (shown.pixel(x, y) == picture.pixel(x, y)) continue;
      if (difference.count++ == 0) {
        char text[96];
        std::snprintf(text, sizeof text, "(%d,%d): window %08X, picture %08X", x, y,
                      shown.pixel(x, y), picture.pixel(x, y));
        difference.first = text;
      }
    }
  }
  return difference;
}

// Whether `part` equals the pixels of `whole` whose top left is (left, top).
bool SameAt(const QImage& whole, const QImage& part, int left, int top) {
  for (int y = 0; y < part.height(); ++y) {
    for (int x = 0; x < part.width(); ++x) {
      if (whole.pixel(left + x, top + y) != part.pixel(x, y)) return false;
    }
  }
  return true;
}

class WindowPictureTest : public QtDialogTest {
 protected:
  QImage Grab() { return DialogWidget().grab().toImage().convertToFormat(QImage::Format_RGB32); }

  // Runs `script` and then `picture FILE options` in tonvela-script; the picture, and
  // what the script printed.
  QImage Picture(const std::string& script, const std::string& options, std::string* output = nullptr) {
    QTemporaryDir directory;
    const QString file = directory.filePath(QStringLiteral("picture.png"));
    QProcess driver;
    driver.start(QStringLiteral(TONVELA_SCRIPT_PATH), {});
    driver.write((script + "picture \"" + file.toStdString() + "\" " + options + "\n").c_str());
    driver.closeWriteChannel();
    EXPECT_TRUE(driver.waitForFinished(30000));
    EXPECT_EQ(driver.exitCode(), 0) << driver.readAllStandardError().toStdString();
    if (output) *output = driver.readAllStandardOutput().toStdString();
    return QImage(file).convertToFormat(QImage::Format_RGB32);
  }

  void ClickPreset(int id) { Click(id, QPoint(5, Widget(id).height() / 2)); }

  // A user's drag of the thumb by `dx` pixels in one move; returns where it ended.
  int DragThumb(int id, int dx) {
    auto& bar = WidgetAs<QScrollBar>(id);
    const QPoint grab = ScrollBarPart(id, QStyle::SC_ScrollBarSlider).center();
    TakeNotifications();
    QTest::mousePress(&bar, Qt::LeftButton, Qt::NoModifier, grab);
    QTest::mouseMove(&bar, grab + QPoint(dx, 0));
    PumpUntilIdle();
    QTest::mouseRelease(&bar, Qt::LeftButton, Qt::NoModifier, grab + QPoint(dx, 0));
    PumpUntilIdle();
    // The pointer leaves, as it does before anyone looks at a handout.
    QTest::mouseMove(&DialogWidget(), QPoint(2, 2));
    PumpUntilIdle();
    const auto notifications = TakeNotifications();
    const HWND slider = Control(id);
    const int position = notifications.empty() ? -1 : notifications.front().position;
    // What `set` sends for the same position.
    EXPECT_EQ(notifications, (std::vector{HScroll(SB_THUMBTRACK, position, slider),
                                           HScroll(SB_THUMBPOSITION, position, slider),
                                           HScroll(SB_ENDSCROLL, 0, slider)}));
    return position;
  }
};

// One user action on the window, and how a script says it.
struct Action {
  enum Kind { Preset, Button, Drag } kind;
  int id;
  std::string script;  // Drag: the start of a `set` line, the position follows
  int dx = 0;
};

struct PictureCase {
  const char* name;
  std::vector<Action> actions;
};
void PrintTo(const PictureCase& c, std::ostream* out) { *out << c.name; }

class WholeWindowTest : public WindowPictureTest, public ::testing::WithParamInterface<PictureCase> {
 protected:
  // Acts out the case on the window; returns the same actions as a script.
  std::string Act() {
    std::string script;
    for (const Action& action : GetParam().actions) {
      switch (action.kind) {
        case Action::Preset: ClickPreset(action.id); break;
        case Action::Button: Click(action.id); break;
        case Action::Drag: {
          const int position = DragThumb(action.id, action.dx);
          script += action.script + " " + std::to_string(position) + "\n";
          continue;
        }
      }
      PumpUntilIdle();
      script += action.script + "\n";
    }
    return script;
  }
};

TEST_P(WholeWindowTest, ThePictureEqualsTheWindowPixelForPixel) {
  const std::string script = Act();
  QCoreApplication::processEvents();
  const QImage shown = Grab();
  std::string output;
  const QImage picture = Picture(script + "state\n", "", &output);
  ASSERT_EQ(picture.size(), shown.size());
  const Difference difference = Compare(shown, picture);
  EXPECT_EQ(difference.count, 0) << "first at " << difference.first;
  // The same number of paints on both sides: the shared phase agrees to the last digit.
  char phase[64];
  std::snprintf(phase, sizeof phase, "phase %.17g\n", g_phase);
  EXPECT_NE(output.find(phase), std::string::npos) << phase << output;
}

INSTANTIATE_TEST_SUITE_P(
    Actions, WholeWindowTest,
    ::testing::Values(
        PictureCase{"AtStart", {}},
        PictureCase{"SquareLouderWithItsWarning",
                    {{Action::Preset, 1008, "click square"},
                     {Action::Button, 1007, "click volume-up"},
                     {Action::Button, 1007, "click 1007"}}},
        PictureCase{"VowelThenADraggedHarmonic",
                    {{Action::Preset, 1039, "click vowel-a"},
                     {Action::Drag, 1019, "set harmonic 2", 60}}},
        PictureCase{"SineAtADraggedFrequency",
                    {{Action::Preset, 1012, "click sine"},
                     {Action::Drag, 1014, "set frequency", -40}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowPictureTest, AnAreaIsThoseVeryPixelsOfTheWindow) {
  ClickPreset(1009);
  PumpUntilIdle();
  const QImage shown = Grab();
  const QImage window = Picture("click sawtooth\n", "window");
  for (const char* area : {"waves", "composite", "spectrum"}) {
    SCOPED_TRACE(area);
    const QImage part = Picture("click sawtooth\n", area);
    ASSERT_FALSE(part.isNull());
    EXPECT_LT(part.width(), shown.width());
    EXPECT_LT(part.height(), shown.height());
    // Exactly one place in the window matches; the panels are cut out where they are.
    int matches = 0;
    for (int y = 0; y + part.height() <= shown.height(); ++y) {
      for (int x = 0; x + part.width() <= shown.width(); ++x) {
        matches += SameAt(shown, part, x, y);
      }
    }
    EXPECT_EQ(matches, 1);
  }
  EXPECT_EQ(Compare(shown, window).count, 0);
}

TEST_F(WindowPictureTest, AScaledPictureEnlargesThePanelsWithoutBlur) {
  const QImage one = Picture("click square\n", "");
  for (const int scale : {2, 4}) {
    SCOPED_TRACE(scale);
    const QImage big = Picture("click square\n", "scale " + std::to_string(scale));
    ASSERT_EQ(big.size(), one.size() * scale);
    // Inside the three panels every pixel became a block of its own colour.
    const QRect panels[] = {QRect(10, 10, 200, 450), QRect(10, 470, 200, 100), QRect(300, 470, 200, 100)};
    int different = 0;
    for (const QRect& panel : panels) {
      for (int y = panel.top() + 1; y < panel.bottom(); ++y) {
        for (int x = panel.left() + 1; x < panel.right(); ++x) {
          for (int dy = 0; dy < scale; ++dy) {
            for (int dx = 0; dx < scale; ++dx) {
              different += big.pixel(x * scale + dx, y * scale + dy) != one.pixel(x, y);
            }
          }
        }
      }
    }
    EXPECT_EQ(different, 0);
  }
}

}  // namespace
}  // namespace tv::qt_test

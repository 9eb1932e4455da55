// What the window shows of the program's painting: the core's raster, pixel for pixel,
// which for the three panels is exactly what the headless driver paints for the same
// clicks.
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "qt_test_support.h"

namespace tv::qt_test {
namespace {

// The three panels, right and bottom edges exclusive.
const QRect kPanels[] = {QRect(QPoint(10, 10), QPoint(209, 459)),
                         QRect(QPoint(10, 470), QPoint(209, 569)),
                         QRect(QPoint(300, 470), QPoint(499, 569))};

QRgb Opaque(Rgb colour) { return 0xFF000000u | colour; }

// The first pixel of `panel` where the two images differ; empty when none does.
std::string FirstDifference(const QImage& shown, const QImage& expected, const QRect& panel) {
  for (int y = panel.top(); y <= panel.bottom(); ++y) {
    for (int x = panel.left(); x <= panel.right(); ++x) {
      if (shown.pixel(x, y) != expected.pixel(x, y)) {
        char text[96];
        std::snprintf(text, sizeof text, "(%d,%d): shown %08X, expected %08X", x, y,
                      shown.pixel(x, y), expected.pixel(x, y));
        return text;
      }
    }
  }
  return {};
}

int CountColour(const QImage& image, const QRect& panel, QRgb colour) {
  int count = 0;
  for (int y = panel.top(); y <= panel.bottom(); ++y) {
    for (int x = panel.left(); x <= panel.right(); ++x) count += image.pixel(x, y) == colour;
  }
  return count;
}

class PaintingTest : public QtDialogTest {
 protected:
  QImage Grab() { return DialogWidget().grab().toImage().convertToFormat(QImage::Format_RGB32); }

  QImage CoreRaster() {
    const Raster& surface = FindWindowState(Dialog())->surface;
    QImage image(surface.width, surface.height, QImage::Format_RGB32);
    for (int y = 0; y < surface.height; ++y) {
      for (int x = 0; x < surface.width; ++x) image.setPixel(x, y, Opaque(surface.At(x, y)));
    }
    return image;
  }

  // The headless driver's snapshot after `script`.
  QImage HeadlessSnapshot(const std::string& script) {
    QTemporaryDir directory;
    const QString file = directory.filePath(QStringLiteral("snapshot.png"));
    QProcess driver;
    driver.start(QStringLiteral(TONVELA_SCRIPT_PATH), {});
    driver.write((script + "snapshot " + file.toStdString() + "\n").c_str());
    driver.closeWriteChannel();
    EXPECT_TRUE(driver.waitForFinished(30000));
    EXPECT_EQ(driver.exitCode(), 0) << driver.readAllStandardError().toStdString();
    return QImage(file).convertToFormat(QImage::Format_RGB32);
  }
};

TEST_F(PaintingTest, TheWindowShowsTheCoresRasterOneToOneBeneathTheControls) {
  Click(1012, QPoint(5, Widget(1012).height() / 2));
  QCoreApplication::processEvents();
  const QImage shown = Grab();
  const QImage raster = CoreRaster();
  ASSERT_EQ(shown.size(), raster.size());
  for (const QRect& panel : kPanels) {
    SCOPED_TRACE("panel at " + std::to_string(panel.x()) + "," + std::to_string(panel.y()));
    EXPECT_EQ(FirstDifference(shown, raster, panel), "");
  }
  // Outside the controls the erased background is the window's.
  EXPECT_EQ(shown.pixel(3, 3), raster.pixel(3, 3));
  EXPECT_EQ(raster.pixel(3, 3), DialogWidget().palette().color(QPalette::Window).rgb());
}

struct PanelCase {
  const char* name;
  std::vector<int> presets;  // clicked in order
  std::string script;        // the same clicks for the headless driver
};

class PanelsMatchHeadlessTest : public PaintingTest,
                                public ::testing::WithParamInterface<PanelCase> {};

TEST_P(PanelsMatchHeadlessTest, ThePanelsEqualTheHeadlessSnapshotPixelForPixel) {
  for (const int preset : GetParam().presets) Click(preset, QPoint(5, Widget(preset).height() / 2));
  QCoreApplication::processEvents();
  const QImage shown = Grab();
  const QImage headless = HeadlessSnapshot(GetParam().script);
  ASSERT_EQ(shown.size(), headless.size());
  for (const QRect& panel : kPanels) {
    SCOPED_TRACE("panel at " + std::to_string(panel.x()) + "," + std::to_string(panel.y()));
    EXPECT_EQ(FirstDifference(shown, headless, panel), "");
  }
  // Not a comparison of two empty panels: the composite trace is there.
  EXPECT_GT(CountColour(shown, kPanels[1], qRgb(0xFF, 0xFF, 0x00)) +
                CountColour(shown, kPanels[1], qRgb(0x00, 0xFF, 0x00)),
            0);
}

INSTANTIATE_TEST_SUITE_P(
    Presets, PanelsMatchHeadlessTest,
    ::testing::Values(PanelCase{"Sine", {1012}, "click 1012\n"},
                      PanelCase{"Square", {1008}, "click 1008\n"},
                      PanelCase{"VowelThenSawtooth", {1039, 1009}, "click 1039\nclick 1009\n"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tv::qt_test

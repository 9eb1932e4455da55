// Every paint creates its two pens and a device context and releases them all.
#include <gtest/gtest.h>

#include "display/waveform_panels.h"
#include "platform/core/gdi_canvas.h"
#include "tests/display/paint_fixture.h"

namespace display_testing {
namespace {

using PaintResourcesTest = PaintTest;

TEST_F(PaintResourcesTest, PaintsLeakNoPensAndNoDeviceContexts) {
  const int pens = tv::LivePenCount();
  const int contexts = tv::LiveDeviceContextCount();
  const int paints = tv::headless::Backend().PaintCount();
  PaintWith({});
  PaintWith({1.0, 1.0});
  PaintWith({0.3, 0.2, 0.1}, 2000.0f);
  EXPECT_EQ(tv::headless::Backend().PaintCount(), paints + 3);
  EXPECT_EQ(tv::LivePenCount(), pens);
  EXPECT_EQ(tv::LiveDeviceContextCount(), contexts);
}

TEST_F(PaintResourcesTest, PaintWritesPanelSizeAndBackgroundIsErasedFirst) {
  g_panelWidth = 0;
  g_panelHeight = 0;
  PaintWith({1.0, 1.0});
  PaintWith({});
  EXPECT_EQ(g_panelWidth, 200);
  EXPECT_EQ(g_panelHeight, 100);
  // Nothing of the clipped paint survives: no yellow on row 570 under the panel.
  EXPECT_EQ(ColumnsOnRow(kYellow, 570, 0, Surface().width), std::vector<int>{});
}

}  // namespace
}  // namespace display_testing

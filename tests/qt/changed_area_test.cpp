// The rectangle the window repaints after a paint: exactly the pixels that changed.
#include <gtest/gtest.h>

#include <vector>

#include "platform/qt/changed_area.h"

namespace tv::qt {
namespace {

struct ChangeCase {
  const char* name;
  std::vector<QPoint> changed;  // pixels given another colour
  QRect expected;
};

class ChangedAreaTest : public ::testing::TestWithParam<ChangeCase> {};

TEST_P(ChangedAreaTest, IsTheBoundingRectangleOfTheChangedPixels) {
  constexpr int kWidth = 37, kHeight = 23;  // odd sizes: no row is a round block
  const std::vector<Rgb> before(kWidth * kHeight, 0x00C0C0C0u);
  std::vector<Rgb> now = before;
  for (const QPoint& p : GetParam().changed) now[p.y() * kWidth + p.x()] = 0x00FF0000u;
  EXPECT_EQ(ChangedArea(now.data(), before.data(), kWidth, kHeight), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChangedAreaTest,
    ::testing::Values(
        ChangeCase{"Nothing", {}, QRect()},
        ChangeCase{"OnePixel", {{5, 7}}, QRect(5, 7, 1, 1)},
        ChangeCase{"Corners", {{0, 0}, {36, 22}}, QRect(0, 0, 37, 23)},
        ChangeCase{"LastColumnOnly", {{36, 3}, {36, 9}}, QRect(36, 3, 1, 7)},
        // The left edge comes from a later row than the right edge.
        ChangeCase{"EdgesFromDifferentRows", {{20, 2}, {30, 4}, {3, 6}}, QRect(3, 2, 28, 5)},
        ChangeCase{"LastRowOnly", {{10, 22}, {11, 22}}, QRect(10, 22, 2, 1)}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tv::qt

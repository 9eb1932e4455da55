// The rectangle the window repaints after a paint: the tiles where pixels changed.
#include <gtest/gtest.h>

#include <vector>

#include "platform/qt/changed_area.h"

namespace tv::qt {
namespace {

// Three tiles a row: 0..63, 64..127 and a narrow last one, 128..149.
constexpr int kWidth = 150, kHeight = 23;

struct ChangeCase {
  const char* name;
  std::vector<QPoint> changed;  // pixels given another colour
  QRect expected;
};

class ChangeTrackerTest : public ::testing::TestWithParam<ChangeCase> {};

TEST_P(ChangeTrackerTest, ReportsTheTilesWherePixelsChanged) {
  std::vector<Rgb> picture(kWidth * kHeight, 0x00C0C0C0u);
  ChangeTracker tracker;
  tracker.Update(picture.data(), kWidth, kHeight);
  for (const QPoint& p : GetParam().changed) picture[p.y() * kWidth + p.x()] = 0x00FF0000u;
  EXPECT_EQ(tracker.Update(picture.data(), kWidth, kHeight), GetParam().expected);
  // The new picture is remembered: asked again, nothing changed.
  EXPECT_EQ(tracker.Update(picture.data(), kWidth, kHeight), QRect());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChangeTrackerTest,
    ::testing::Values(
        ChangeCase{"Nothing", {}, QRect()},
        ChangeCase{"OnePixel", {{5, 7}}, QRect(0, 7, 64, 1)},
        ChangeCase{"NarrowLastTile", {{149, 0}}, QRect(128, 0, 22, 1)},
        ChangeCase{"Corners", {{0, 0}, {149, 22}}, QRect(0, 0, kWidth, kHeight)},
        // The left edge comes from a later row than the right edge.
        ChangeCase{"EdgesFromDifferentRows", {{130, 3}, {70, 9}}, QRect(64, 3, 86, 7)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ChangeTracker, TheFirstPictureAndANewSizeAreChangedEverywhere) {
  const std::vector<Rgb> picture(kWidth * kHeight, 0);  // all zero, like the initial hashes
  ChangeTracker tracker;
  EXPECT_EQ(tracker.Update(picture.data(), kWidth, kHeight), QRect(0, 0, kWidth, kHeight));
  EXPECT_EQ(tracker.Update(picture.data(), kWidth - 1, kHeight + 1),
            QRect(0, 0, kWidth - 1, kHeight + 1));
}

}  // namespace
}  // namespace tv::qt

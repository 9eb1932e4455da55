// The region the window repaints after a paint: the tiles where pixels changed, band by
// band, in separate rectangles where the changed tiles are apart.
#include <gtest/gtest.h>

#include <vector>

#include "platform/qt/changed_area.h"

namespace tv::qt {
namespace {

// Five tiles a row: 0..31, 32..63, 64..95, 96..127 and a narrow last one, 128..149;
// two bands: rows 0..15 and 16..22.
constexpr int kWidth = 150, kHeight = 23;

struct ChangeCase {
  const char* name;
  std::vector<QPoint> changed;  // pixels given another colour
  std::vector<QRect> expected;
};

class ChangeTrackerTest : public ::testing::TestWithParam<ChangeCase> {};

TEST_P(ChangeTrackerTest, ReportsTheTilesWherePixelsChanged) {
  std::vector<Rgb> picture(kWidth * kHeight, 0x00C0C0C0u);
  ChangeTracker tracker;
  tracker.Update(picture.data(), kWidth, kHeight);
  for (const QPoint& p : GetParam().changed) picture[p.y() * kWidth + p.x()] = 0x00FF0000u;
  QRegion expected;
  for (const QRect& r : GetParam().expected) expected += r;
  EXPECT_EQ(tracker.Update(picture.data(), kWidth, kHeight), expected);
  // The new picture is remembered: asked again, nothing changed.
  EXPECT_EQ(tracker.Update(picture.data(), kWidth, kHeight), QRegion());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChangeTrackerTest,
    ::testing::Values(
        ChangeCase{"Nothing", {}, {}},
        ChangeCase{"OnePixel", {{5, 7}}, {QRect(0, 0, 32, 16)}},
        ChangeCase{"NarrowLastTileOfTheShortLastBand", {{149, 22}}, {QRect(128, 16, 22, 7)}},
        ChangeCase{"NeighbouringTilesMerge", {{40, 2}, {70, 13}}, {QRect(32, 0, 64, 16)}},
        // A control between two panels is not repainted.
        ChangeCase{"TilesApartStayApart", {{5, 3}, {100, 9}},
                   {QRect(0, 0, 32, 16), QRect(96, 0, 32, 16)}},
        ChangeCase{"Corners", {{0, 0}, {149, 22}}, {QRect(0, 0, 32, 16), QRect(128, 16, 22, 7)}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ChangeTracker, TheFirstPictureAndANewSizeAreChangedEverywhere) {
  const std::vector<Rgb> picture(kWidth * kHeight, 0);  // all zero, like the initial hashes
  ChangeTracker tracker;
  EXPECT_EQ(tracker.Update(picture.data(), kWidth, kHeight), QRegion(0, 0, kWidth, kHeight));
  const std::vector<Rgb> resized((kWidth - 1) * (kHeight + 1), 0);
  EXPECT_EQ(tracker.Update(resized.data(), kWidth - 1, kHeight + 1),
            QRegion(0, 0, kWidth - 1, kHeight + 1));
}

}  // namespace
}  // namespace tv::qt

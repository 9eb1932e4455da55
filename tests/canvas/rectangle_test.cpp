// Rectangle: filled with the selected brush, outlined with the selected pen, the right
// and bottom edges outside.
#include <gtest/gtest.h>

#include "tests/canvas/canvas_fixture.h"

namespace tv::testing {
namespace {

using RectangleTest = CanvasTest;

TEST_F(RectangleTest, OutlineWithPenInteriorWithBrushRightAndBottomOutside) {
  SelectObject(dc_, GetStockObject(BLACK_BRUSH));
  SelectObject(dc_, Pen(RGB(0, 255, 0)));
  ASSERT_TRUE(Rectangle(dc_, 2, 3, 7, 8));

  for (int y = 0; y < raster_.height; ++y) {
    for (int x = 0; x < raster_.width; ++x) {
      SCOPED_TRACE(::testing::Message() << "(" << x << ", " << y << ")");
      const bool inside = x >= 2 && x <= 6 && y >= 3 && y <= 7;
      const bool edge = x == 2 || x == 6 || y == 3 || y == 7;
      const Rgb expected = !inside ? kBackground : edge ? kGreen : kBlack;
      EXPECT_EQ(raster_.At(x, y), expected);
    }
  }
}

TEST_F(RectangleTest, BlackBrushWithDefaultPenGivesASolidBlackBox) {
  SelectObject(dc_, GetStockObject(BLACK_BRUSH));
  Rectangle(dc_, 1, 1, 5, 4);
  PixelSet box;
  for (int y = 1; y < 4; ++y) {
    for (int x = 1; x < 5; ++x) box.insert({x, y});
  }
  EXPECT_EQ(Drawn(), box);
  for (const auto& [x, y] : box) EXPECT_EQ(raster_.At(x, y), kBlack);
}

TEST_F(RectangleTest, SwappedCornersDrawTheSameBox) {
  Rectangle(dc_, 2, 3, 7, 8);
  const std::vector<Rgb> expected = raster_.pixels;
  raster_.Fill(kBackground);
  Rectangle(dc_, 7, 8, 2, 3);
  EXPECT_EQ(raster_.pixels, expected);
}

TEST_F(RectangleTest, EmptyRectangleDrawsNothing) {
  EXPECT_TRUE(Rectangle(dc_, 4, 4, 4, 9));
  EXPECT_TRUE(Rectangle(dc_, 4, 4, 9, 4));
  EXPECT_TRUE(Drawn().empty());
}

TEST_F(RectangleTest, PartsOutsideTheRasterAreClipped) {
  SelectObject(dc_, GetStockObject(BLACK_BRUSH));
  EXPECT_TRUE(Rectangle(dc_, -5, -5, 3, 2));
  EXPECT_TRUE(Rectangle(dc_, 14, 10, 2147483647, 2147483647));
  PixelSet expected;
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) expected.insert({x, y});
  }
  for (int y = 10; y < 12; ++y) {
    for (int x = 14; x < 16; ++x) expected.insert({x, y});
  }
  EXPECT_EQ(Drawn(), expected);
}

}  // namespace
}  // namespace tv::testing

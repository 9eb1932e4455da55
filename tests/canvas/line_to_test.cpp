// MoveToEx and LineTo: one-pixel lines without anti-aliasing, the end point's own pixel
// not drawn, the end point becoming the current position.
#include <gtest/gtest.h>

#include <climits>

#include "tests/canvas/canvas_fixture.h"

namespace tv::testing {
namespace {

using LineToTest = CanvasTest;

struct LineCase {
  const char* name;
  POINT from;
  POINT to;
  PixelSet lit;
};

// One pixel per step of the longer axis; the shorter axis moves by round(i * m / M),
// a tie going to the smaller coordinate whichever way the line runs (gdi_lines_test
// holds the whole table that the system drew).
const LineCase kLines[] = {
    {"right", {1, 2}, {5, 2}, {{1, 2}, {2, 2}, {3, 2}, {4, 2}}},
    {"left", {5, 2}, {1, 2}, {{5, 2}, {4, 2}, {3, 2}, {2, 2}}},
    {"down", {3, 1}, {3, 4}, {{3, 1}, {3, 2}, {3, 3}}},
    {"up", {3, 4}, {3, 1}, {{3, 4}, {3, 3}, {3, 2}}},
    {"diagonal", {0, 0}, {3, 3}, {{0, 0}, {1, 1}, {2, 2}}},
    {"anti-diagonal", {3, 0}, {0, 3}, {{3, 0}, {2, 1}, {1, 2}}},
    {"shallow", {0, 0}, {4, 2}, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
    {"shallow reversed", {4, 2}, {0, 0}, {{4, 2}, {3, 1}, {2, 1}, {1, 0}}},
    {"steep", {0, 0}, {2, 4}, {{0, 0}, {0, 1}, {1, 2}, {1, 3}}},
    {"steep reversed", {2, 4}, {0, 0}, {{2, 4}, {1, 3}, {1, 2}, {0, 1}}},
    {"shallow upward", {0, 4}, {4, 2}, {{0, 4}, {1, 3}, {2, 3}, {3, 2}}},
    {"steep upward", {2, 10}, {3, 4}, {{2, 10}, {2, 9}, {2, 8}, {2, 7}, {3, 6}, {3, 5}}},
    {"one step", {6, 6}, {7, 6}, {{6, 6}}},
    {"zero length", {6, 6}, {6, 6}, {}},
    {"long shallow", {8, 1}, {14, 2}, {{8, 1}, {9, 1}, {10, 1}, {11, 1}, {12, 2}, {13, 2}}},
};

TEST_F(LineToTest, LightsTheStatedPixelsAndNotTheEndPoint) {
  for (const LineCase& line : kLines) {
    SCOPED_TRACE(line.name);
    raster_.Fill(kBackground);
    MoveToEx(dc_, line.from.x, line.from.y, nullptr);
    ASSERT_TRUE(LineTo(dc_, line.to.x, line.to.y));
    EXPECT_EQ(Drawn(), line.lit);
  }
}

TEST_F(LineToTest, EndPointBecomesTheCurrentPositionSoAPolylineIsSeamless) {
  SelectObject(dc_, Pen(RGB(0, 255, 0)));
  MoveToEx(dc_, 1, 1, nullptr);
  LineTo(dc_, 4, 1);
  LineTo(dc_, 4, 4);
  LineTo(dc_, 1, 4);
  LineTo(dc_, 1, 1);
  PixelSet square;
  for (int i = 1; i <= 4; ++i) {
    square.insert({i, 1});
    square.insert({i, 4});
    square.insert({1, i});
    square.insert({4, i});
  }
  EXPECT_EQ(Drawn(), square);
  for (const auto& [x, y] : square) EXPECT_EQ(raster_.At(x, y), kGreen);
}

TEST_F(LineToTest, MoveToExDrawsNothingAndReportsThePreviousPosition) {
  POINT previous{-1, -1};
  ASSERT_TRUE(MoveToEx(dc_, 5, 6, &previous));
  EXPECT_EQ(previous.x, 0);
  EXPECT_EQ(previous.y, 0);
  ASSERT_TRUE(MoveToEx(dc_, 9, 2, &previous));
  EXPECT_EQ(previous.x, 5);
  EXPECT_EQ(previous.y, 6);
  EXPECT_TRUE(Drawn().empty());

  LineTo(dc_, 9, 4);
  EXPECT_EQ(Drawn(), (PixelSet{{9, 2}, {9, 3}}));
}

TEST_F(LineToTest, PixelsOutsideTheRasterAreClipped) {
  MoveToEx(dc_, -3, 5, nullptr);
  LineTo(dc_, 2, 5);
  MoveToEx(dc_, 14, 9, nullptr);
  LineTo(dc_, 20, 15);
  EXPECT_EQ(Drawn(), (PixelSet{{0, 5}, {1, 5}, {14, 9}, {15, 10}}));
}

TEST_F(LineToTest, FarEndPointsAreClippedNotWalked) {
  struct FarCase {
    const char* name;
    POINT from;
    POINT to;
    PixelSet lit;
  };
  const FarCase cases[] = {
      {"straight up to INT_MIN", {5, 9}, {5, INT_MIN},
       {{5, 9}, {5, 8}, {5, 7}, {5, 6}, {5, 5}, {5, 4}, {5, 3}, {5, 2}, {5, 1}, {5, 0}}},
      {"from INT_MIN to a pixel", {5, INT_MIN}, {5, 3}, {{5, 0}, {5, 1}, {5, 2}}},
      {"corner to corner of the coordinate range", {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX},
       {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}, {7, 7}, {8, 8}, {9, 9},
        {10, 10}, {11, 11}}},
      {"far away entirely", {INT_MIN, 3}, {INT_MIN + 5, INT_MAX}, {}},
  };
  for (const FarCase& c : cases) {
    SCOPED_TRACE(c.name);
    raster_.Fill(kBackground);
    MoveToEx(dc_, c.from.x, c.from.y, nullptr);
    ASSERT_TRUE(LineTo(dc_, c.to.x, c.to.y));
    EXPECT_EQ(Drawn(), c.lit);
  }
}

}  // namespace
}  // namespace tv::testing

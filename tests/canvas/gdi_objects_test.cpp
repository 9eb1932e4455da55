// Device contexts, pens and brushes: selection, deletion and stale handles.
#include <gtest/gtest.h>

#include "tests/canvas/canvas_fixture.h"

namespace tv::testing {
namespace {

using GdiObjectsTest = CanvasTest;

TEST_F(GdiObjectsTest, NewContextDrawsWithBlackPenWhiteBrushFromOrigin) {
  raster_.Fill(kBackground);
  Rectangle(dc_, 2, 2, 6, 6);
  EXPECT_EQ(raster_.At(2, 2), kBlack);
  EXPECT_EQ(raster_.At(3, 3), kWhite);

  raster_.Fill(kBackground);
  LineTo(dc_, 3, 0);
  EXPECT_EQ(Drawn(), (PixelSet{{0, 0}, {1, 0}, {2, 0}}));
  EXPECT_EQ(raster_.At(0, 0), kBlack);
}

TEST_F(GdiObjectsTest, SelectObjectReturnsThePreviousObjectOfTheSameKind) {
  const HGDIOBJ blackBrush = GetStockObject(BLACK_BRUSH);
  ASSERT_NE(blackBrush, nullptr);
  EXPECT_EQ(GetStockObject(BLACK_BRUSH), blackBrush);
  HPEN green = Pen(RGB(0, 255, 0));
  HPEN yellow = Pen(RGB(255, 255, 0));

  const HGDIOBJ defaultBrush = SelectObject(dc_, blackBrush);
  const HGDIOBJ defaultPen = SelectObject(dc_, green);
  ASSERT_NE(defaultBrush, nullptr);
  ASSERT_NE(defaultPen, nullptr);
  EXPECT_NE(defaultBrush, defaultPen);
  EXPECT_EQ(SelectObject(dc_, yellow), static_cast<HGDIOBJ>(green));
  EXPECT_EQ(SelectObject(dc_, defaultPen), static_cast<HGDIOBJ>(yellow));
  EXPECT_EQ(SelectObject(dc_, defaultBrush), blackBrush);

  Rectangle(dc_, 0, 0, 4, 4);  // the defaults are back: black outline, white inside
  EXPECT_EQ(raster_.At(0, 0), kBlack);
  EXPECT_EQ(raster_.At(1, 1), kWhite);
}

TEST_F(GdiObjectsTest, PenColourIsTheColorrefsRedGreenBlue) {
  struct Case {
    COLORREF colour;
    Rgb drawn;
  };
  const Case cases[] = {
      {0x0000FF00, kGreen},
      {0x0000FFFF, kYellow},
      {RGB(1, 2, 3), MakeRgb(1, 2, 3)},
      {0x00FF0000, MakeRgb(0, 0, 255)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.colour);
    SelectObject(dc_, Pen(c.colour));
    MoveToEx(dc_, 0, 5, nullptr);
    LineTo(dc_, 2, 5);
    EXPECT_EQ(raster_.At(0, 5), c.drawn);
  }
}

TEST_F(GdiObjectsTest, OnlySolidOnePixelPensAreCreated) {
  EXPECT_EQ(CreatePen(PS_SOLID, 2, RGB(0, 255, 0)), nullptr);
  EXPECT_EQ(CreatePen(1, 1, RGB(0, 255, 0)), nullptr);
  EXPECT_EQ(CreatePen(PS_SOLID, -1, RGB(0, 255, 0)), nullptr);
  HPEN widthZero = CreatePen(PS_SOLID, 0, RGB(0, 255, 0));
  ASSERT_NE(widthZero, nullptr);
  EXPECT_TRUE(DeleteObject(widthZero));
}

TEST_F(GdiObjectsTest, DeletedPenIsStaleAndChangesNothing) {
  HPEN green = Pen(RGB(0, 255, 0));
  const int live = LivePenCount();
  EXPECT_TRUE(DeleteObject(green));
  EXPECT_EQ(LivePenCount(), live - 1);

  EXPECT_FALSE(DeleteObject(green));
  EXPECT_EQ(SelectObject(dc_, green), nullptr);
  LineTo(dc_, 4, 0);  // still the default black pen
  EXPECT_EQ(raster_.At(0, 0), kBlack);
}

TEST_F(GdiObjectsTest, PenSelectedIntoALiveContextCannotBeDeleted) {
  HPEN green = Pen(RGB(0, 255, 0));
  const HGDIOBJ defaultPen = SelectObject(dc_, green);
  const int live = LivePenCount();

  EXPECT_FALSE(DeleteObject(green));
  EXPECT_EQ(LivePenCount(), live);
  LineTo(dc_, 3, 0);
  EXPECT_EQ(raster_.At(0, 0), kGreen);

  SelectObject(dc_, defaultPen);
  EXPECT_TRUE(DeleteObject(green));
  EXPECT_EQ(LivePenCount(), live - 1);
}

TEST_F(GdiObjectsTest, PenOutlivesTheContextItWasSelectedInto) {
  Raster other;
  other.Resize(4, 4, kBackground);
  HDC second = CreateRasterDC(other);
  HPEN green = Pen(RGB(0, 255, 0));
  SelectObject(second, green);
  DeleteRasterDC(second);

  SelectObject(dc_, green);
  LineTo(dc_, 2, 0);
  EXPECT_EQ(raster_.At(0, 0), kGreen);
}

TEST_F(GdiObjectsTest, StockObjectsSurviveDeleteObject) {
  const HGDIOBJ blackBrush = GetStockObject(BLACK_BRUSH);
  EXPECT_TRUE(DeleteObject(blackBrush));
  SelectObject(dc_, blackBrush);
  Rectangle(dc_, 0, 0, 4, 4);
  EXPECT_EQ(raster_.At(1, 1), kBlack);
}

TEST_F(GdiObjectsTest, UnknownHandlesAreRefused) {
  EXPECT_EQ(GetStockObject(-1), nullptr);
  EXPECT_EQ(GetStockObject(1000), nullptr);
  EXPECT_EQ(SelectObject(dc_, nullptr), nullptr);
  EXPECT_FALSE(DeleteObject(nullptr));
  EXPECT_FALSE(Rectangle(nullptr, 0, 0, 4, 4));
  EXPECT_FALSE(LineTo(nullptr, 4, 4));
  EXPECT_TRUE(Drawn().empty());
}

TEST_F(GdiObjectsTest, ReleasedContextIsStaleAndDrawsNothing) {
  Raster other;
  other.Resize(8, 8, kBackground);
  const int liveContexts = LiveDeviceContextCount();
  HDC released = CreateRasterDC(other);
  EXPECT_EQ(LiveDeviceContextCount(), liveContexts + 1);
  DeleteRasterDC(released);
  EXPECT_EQ(LiveDeviceContextCount(), liveContexts);

  POINT previous{-7, -7};
  EXPECT_FALSE(MoveToEx(released, 3, 3, &previous));
  EXPECT_EQ(previous.x, -7);
  EXPECT_FALSE(LineTo(released, 7, 7));
  EXPECT_FALSE(Rectangle(released, 0, 0, 8, 8));
  EXPECT_EQ(SelectObject(released, GetStockObject(BLACK_BRUSH)), nullptr);
  for (const Rgb pixel : other.pixels) EXPECT_EQ(pixel, kBackground);

  HDC fresh = CreateRasterDC(other);
  EXPECT_NE(fresh, released);  // handle numbers are not reused
  DeleteRasterDC(fresh);
}

}  // namespace
}  // namespace tv::testing

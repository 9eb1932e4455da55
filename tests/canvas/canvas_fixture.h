// A small raster with a device context bound to it, released at the end of each test.
#pragma once

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "platform/core/gdi_canvas.h"
#include "platform/core/raster.h"
#include "platform/win32_api.h"

namespace tv::testing {

inline constexpr Rgb kBackground = MakeRgb(0xC0, 0xC0, 0xC0);
inline constexpr Rgb kBlack = MakeRgb(0, 0, 0);
inline constexpr Rgb kWhite = MakeRgb(255, 255, 255);
inline constexpr Rgb kGreen = MakeRgb(0, 255, 0);
inline constexpr Rgb kYellow = MakeRgb(255, 255, 0);

using PixelSet = std::set<std::pair<int, int>>;  // (x, y)

class CanvasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    livePensBefore_ = LivePenCount();
    raster_.Resize(16, 12, kBackground);
    dc_ = CreateRasterDC(raster_);
    ASSERT_NE(dc_, nullptr);
  }
  void TearDown() override {
    DeleteRasterDC(dc_);
    for (HPEN pen : pens_) DeleteObject(pen);
    EXPECT_EQ(LivePenCount(), livePensBefore_);
  }

  // A solid one-pixel pen, deleted after the test.
  HPEN Pen(COLORREF colour) {
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    pens_.push_back(pen);
    return pen;
  }

  // Every pixel that differs from the background.
  PixelSet Drawn() const {
    PixelSet drawn;
    for (int y = 0; y < raster_.height; ++y) {
      for (int x = 0; x < raster_.width; ++x) {
        if (raster_.At(x, y) != kBackground) drawn.insert({x, y});
      }
    }
    return drawn;
  }

  Raster raster_;
  HDC dc_ = nullptr;

 private:
  std::vector<HPEN> pens_;
  int livePensBefore_ = 0;
};

}  // namespace tv::testing

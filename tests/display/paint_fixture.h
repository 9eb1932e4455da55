// The real dialog on the headless backend; each test sets the tone state, repaints and
// reads the pixels of the dialog's client area.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/main_dialog.h"
#include "app/sliders.h"
#include "app/tone_state.h"
#include "platform/core/raster.h"
#include "platform/core/window_manager.h"
#include "platform/headless/headless_audio.h"
#include "platform/headless/headless_backend.h"
#include "sound/wave_stream.h"
#include "support/program_test.h"

namespace display_testing {

inline constexpr tv::Rgb kBlack = tv::MakeRgb(0, 0, 0);
inline constexpr tv::Rgb kGreen = tv::MakeRgb(0, 255, 0);
inline constexpr tv::Rgb kYellow = tv::MakeRgb(255, 255, 0);
inline constexpr tv::Rgb kBackground = tv::headless::kBackgroundColour;

inline constexpr int kWarningLabel = 1038;
inline const std::string kWarningUtf8 =
    "警告！　複合波が歪みました。音量を落として下さい。";

// A region of the client area, right and bottom outside.
struct Box {
  int left;
  int top;
  int right;
  int bottom;
};
inline constexpr Box kHarmonicPanel{10, 10, 210, 460};
inline constexpr Box kCompositePanel{10, 470, 210, 570};
inline constexpr Box kSpectrumPanel{300, 470, 500, 570};

class PaintTest : public tv::testing::ProgramTest {
 protected:

  // Sets harmonic amplitudes (index 0 = fundamental, the rest 0) and repaints.
  void PaintWith(std::initializer_list<double> amplitudes, float frequencyHz = 440.0f) {
    for (double& a : g_amplitude) a = 0.0;
    int k = 0;
    for (const double a : amplitudes) g_amplitude[k++] = a;
    g_frequencyHz = frequencyHz;
    RefreshPanels(dialog);
  }

  const tv::Raster& Surface() const { return tv::FindWindowState(dialog)->surface; }
  tv::Rgb Pixel(int x, int y) const { return Surface().At(x, y); }
  std::string WarningText() const {
    return tv::FindWindowState(GetDlgItem(dialog, kWarningLabel))->text;
  }

  // Topmost and bottommost rows holding `colour` within `box`; -1 when there is none.
  int TopRow(tv::Rgb colour, Box box) const {
    for (int y = box.top; y < box.bottom; ++y) {
      for (int x = box.left; x < box.right; ++x) {
        if (Pixel(x, y) == colour) return y;
      }
    }
    return -1;
  }
  int BottomRow(tv::Rgb colour, Box box) const {
    for (int y = box.bottom - 1; y >= box.top; --y) {
      for (int x = box.left; x < box.right; ++x) {
        if (Pixel(x, y) == colour) return y;
      }
    }
    return -1;
  }
  // Columns holding `colour` on row y, from x0 up to x1 (exclusive).
  std::vector<int> ColumnsOnRow(tv::Rgb colour, int y, int x0, int x1) const {
    std::vector<int> columns;
    for (int x = x0; x < x1; ++x) {
      if (Pixel(x, y) == colour) columns.push_back(x);
    }
    return columns;
  }
  int CountOf(tv::Rgb colour, Box box) const {
    int count = 0;
    for (int y = box.top; y < box.bottom; ++y) {
      for (int x = box.left; x < box.right; ++x) count += Pixel(x, y) == colour;
    }
    return count;
  }
};

// Columns x0..x1 inclusive.
inline std::vector<int> Span(int x0, int x1) {
  std::vector<int> columns;
  for (int x = x0; x <= x1; ++x) columns.push_back(x);
  return columns;
}

}  // namespace display_testing

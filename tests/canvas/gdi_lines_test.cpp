// LineTo against the system's own GDI: every line of gdi_lines.txt, which tools/gdi-probe
// drew with the real GDI (under Wine), must light exactly the same pixels here.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "tests/canvas/canvas_fixture.h"
#include "tests/canvas/gdi_lines_fixture.h"

namespace tv::testing {
namespace {

using GdiLinesTest = CanvasTest;

TEST_F(GdiLinesTest, EveryLineLightsThePixelsTheSystemLit) {
  std::istringstream table{std::string(kGdiLines)};
  std::string text;
  int number = 0;
  int lines = 0;
  while (std::getline(table, text)) {
    ++number;
    std::istringstream words(text);
    std::string verb;
    if (!(words >> verb) || verb[0] == '#') continue;
    if (verb == "raster") {
      int width = 0;
      int height = 0;
      ASSERT_TRUE(words >> width >> height) << "gdi_lines.txt:" << number;
      raster_.Resize(width, height, kBackground);
      continue;
    }
    ASSERT_EQ(verb, "line") << "gdi_lines.txt:" << number;
    POINT from{};
    POINT to{};
    std::string colon;
    ASSERT_TRUE(words >> from.x >> from.y >> to.x >> to.y >> colon && colon == ":")
        << "gdi_lines.txt:" << number;
    PixelSet expected;
    int x = 0;
    int y = 0;
    char comma = 0;
    while (words >> x >> comma >> y) expected.insert({x, y});

    raster_.Fill(kBackground);
    MoveToEx(dc_, from.x, from.y, nullptr);
    ASSERT_TRUE(LineTo(dc_, to.x, to.y));
    EXPECT_EQ(Drawn(), expected) << "gdi_lines.txt:" << number << ": " << text;
    ++lines;
  }
  EXPECT_GT(lines, 200);  // the whole table was read
}

}  // namespace
}  // namespace tv::testing

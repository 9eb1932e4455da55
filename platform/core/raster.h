// An in-memory RGB image: what a window's client area looks like after its last paint.
#pragma once

#include <cstdint>
#include <vector>

namespace tv {

// Colours are stored as 0x00RRGGBB.
using Rgb = std::uint32_t;

constexpr Rgb MakeRgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return (Rgb{red} << 16) | (Rgb{green} << 8) | Rgb{blue};
}

struct Raster {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;  // row-major, width * height

  void Resize(int newWidth, int newHeight, Rgb fill) {
    width = newWidth;
    height = newHeight;
    pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill);
  }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  Rgb At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  // Pixels outside the image are clipped, as drawing outside a client area is.
  void Set(int x, int y, Rgb colour) {
    if (Contains(x, y)) pixels[static_cast<std::size_t>(y) * width + x] = colour;
  }
  void Fill(Rgb colour) { pixels.assign(pixels.size(), colour); }
};

}  // namespace tv

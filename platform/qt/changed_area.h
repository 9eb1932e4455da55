// Which part of the client area changed since the picture that went to the screen last.
#pragma once

#include <QRegion>
#include <cstdint>
#include <vector>

#include "platform/core/raster.h"

namespace tv::qt {

// Remembers a picture by one hash per tile (kTileWidth pixels of one row), a sixteenth
// of the memory of a copy, and finds where a newer picture differs from it.
class ChangeTracker {
 public:
  static constexpr int kTileWidth = 32;
  static constexpr int kBandHeight = 16;

  // Where `pixels` (width x height, row-major) differs from the picture remembered
  // last, in whole tiles: per band of kBandHeight rows, one rectangle for each run of
  // neighbouring tiles that changed in any of its rows, so that the controls beside a
  // panel are left alone. Empty when nothing changed, everything for the first picture
  // or a new size. Remembers `pixels` for the next call.
  QRegion Update(const Rgb* pixels, int width, int height);

 private:
  int width_ = 0, height_ = 0;
  std::vector<std::uint64_t> hashes_;  // row by row, tile by tile
};

}  // namespace tv::qt

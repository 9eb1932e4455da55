#include "platform/qt/changed_area.h"

#include <algorithm>
#include <cstddef>

namespace tv::qt {
namespace {

// Four independent FNV-1a style lanes over pairs of pixels, then combined. Each step is
// a bijection of a lane's state, so a tile that differs in one pair of pixels always
// hashes differently; more changes go unseen with a chance of about one in 2^64.
std::uint64_t HashOf(const Rgb* pixels, int count) {
  constexpr std::uint64_t kPrime = 1099511628211ull;
  std::uint64_t lanes[4] = {14695981039346656037ull, 1, 2, 3};
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    for (int k = 0; k < 4; ++k) {
      const std::uint64_t pair = pixels[i + 2 * k] | std::uint64_t{pixels[i + 2 * k + 1]} << 32;
      lanes[k] = (lanes[k] ^ pair) * kPrime;
    }
  }
  for (; i < count; ++i) lanes[0] = (lanes[0] ^ pixels[i]) * kPrime;
  std::uint64_t hash = lanes[0];
  for (int k = 1; k < 4; ++k) hash = (hash ^ lanes[k]) * kPrime;
  return hash;
}

}  // namespace

QRegion ChangeTracker::Update(const Rgb* pixels, int width, int height) {
  const int tiles = (width + kTileWidth - 1) / kTileWidth;
  const bool resized = width != width_ || height != height_;
  if (resized) {
    width_ = width;
    height_ = height;
    hashes_.assign(static_cast<std::size_t>(tiles) * static_cast<std::size_t>(height), 0);
  }
  QRegion changed;
  std::vector<bool> bandChanged(static_cast<std::size_t>(tiles));
  for (int band = 0; band < height; band += kBandHeight) {
    const int bandEnd = std::min(height, band + kBandHeight);
    std::fill(bandChanged.begin(), bandChanged.end(), false);
    for (int y = band; y < bandEnd; ++y) {
      const Rgb* row = pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
      std::uint64_t* rowHashes = hashes_.data() + static_cast<std::size_t>(y) * tiles;
      for (int tile = 0; tile < tiles; ++tile) {
        const int left = tile * kTileWidth;
        const std::uint64_t hash = HashOf(row + left, std::min(kTileWidth, width - left));
        if (hash == rowHashes[tile] && !resized) continue;
        rowHashes[tile] = hash;
        bandChanged[tile] = true;
      }
    }
    for (int tile = 0; tile < tiles;) {
      if (!bandChanged[tile]) {
        ++tile;
        continue;
      }
      const int first = tile;
      while (tile < tiles && bandChanged[tile]) ++tile;
      const int right = std::min(width, tile * kTileWidth);
      changed += QRect(first * kTileWidth, band, right - first * kTileWidth, bandEnd - band);
    }
  }
  return changed;
}

}  // namespace tv::qt

#include "platform/qt/changed_area.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace tv::qt {

// Rows compare as blocks of memory; only a changed row is searched for its first and
// last changed pixel, and only beyond the columns already known to have changed.
QRect ChangedArea(const Rgb* now, const Rgb* before, int width, int height) {
  int top = -1, bottom = -1, left = width, right = -1;
  const std::size_t rowBytes = static_cast<std::size_t>(width) * sizeof(Rgb);
  for (int y = 0; y < height; ++y) {
    const Rgb* a = now + static_cast<std::size_t>(y) * width;
    const Rgb* b = before + static_cast<std::size_t>(y) * width;
    if (std::memcmp(a, b, rowBytes) == 0) continue;
    if (top < 0) top = y;
    bottom = y;
    left = static_cast<int>(std::mismatch(a, a + left, b).first - a);
    int x = width - 1;
    while (x > right && a[x] == b[x]) --x;
    right = std::max(right, x);
  }
  if (top < 0) return {};
  return QRect(QPoint(left, top), QPoint(right, bottom));
}

}  // namespace tv::qt

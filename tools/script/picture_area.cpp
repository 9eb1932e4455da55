#include "tools/script/picture_area.h"

#include <algorithm>
#include <vector>

#include "platform/core/window_manager.h"

namespace tv::script {
namespace {

constexpr int kMargin = 6;

// The panels as the program paints them, and the texts beside each, by their place in
// the dialog template (1-based; most of them have no ID).
struct AreaParts {
  PixelRect panel;
  std::vector<int> labels;
};

AreaParts PartsOf(PictureArea area) {
  switch (area) {
    case PictureArea::Waves: return {{10, 10, 200, 450}, {23, 24, 25, 26, 27, 28, 29, 30, 31, 32}};
    case PictureArea::Composite: return {{10, 470, 200, 100}, {33, 38}};
    case PictureArea::Spectrum: return {{300, 470, 200, 100}, {34, 35, 37, 49}};
    case PictureArea::Window: break;
  }
  return {};
}

}  // namespace

PixelRect PictureAreaRect(PictureArea area, HWND dialog) {
  const Window* window = FindWindowState(dialog);
  const int width = window ? window->surface.width : 0;
  const int height = window ? window->surface.height : 0;
  if (area == PictureArea::Window || !window) return {0, 0, width, height};

  const AreaParts parts = PartsOf(area);
  int left = parts.panel.x;
  int top = parts.panel.y;
  int right = parts.panel.x + parts.panel.width;
  int bottom = parts.panel.y + parts.panel.height;
  for (const int place : parts.labels) {
    if (place < 1 || static_cast<std::size_t>(place) > window->children.size()) continue;
    const Window* label = FindWindowState(window->children[place - 1]);
    if (!label) continue;
    left = std::min(left, static_cast<int>(label->rect.left));
    top = std::min(top, static_cast<int>(label->rect.top));
    right = std::max(right, static_cast<int>(label->rect.right));
    bottom = std::max(bottom, static_cast<int>(label->rect.bottom));
  }
  left = std::max(0, left - kMargin);
  top = std::max(0, top - kMargin);
  right = std::min(width, right + kMargin);
  bottom = std::min(height, bottom + kMargin);
  return {left, top, right - left, bottom - top};
}

}  // namespace tv::script

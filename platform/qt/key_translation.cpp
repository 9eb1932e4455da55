#include "platform/qt/key_translation.h"

#include <Qt>

namespace tv::qt {

std::optional<WPARAM> VirtualKeyFor(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Down: return VK_DOWN;
    default: return std::nullopt;
  }
}

}  // namespace tv::qt

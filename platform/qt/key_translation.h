// Qt keys as the platform's virtual-key codes that the dialog manager understands.
#pragma once

#include <optional>

#include "platform/win32_api.h"

namespace tv::qt {

// The virtual key for a Qt::Key; none for keys the dialog has no use for. Backtab
// (Shift+Tab) is VK_TAB: the Shift key itself arrives as VK_SHIFT.
std::optional<WPARAM> VirtualKeyFor(int qtKey);

}  // namespace tv::qt

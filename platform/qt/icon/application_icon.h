// The application icon: a dark panel, two harmonics in green on their zero lines, and
// their composite in yellow, as the program's own panels show them.
#pragma once

#include <QIcon>
#include <QImage>

namespace tv::qt {

inline constexpr int kApplicationIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// The icon at `size` x `size` pixels, on a transparent ground.
QImage DrawApplicationIcon(int size);

// Every size, for the window's icon (_NET_WM_ICON on X11).
QIcon ApplicationIcon();

}  // namespace tv::qt

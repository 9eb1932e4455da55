// Where one picture of the client area differs from the one before.
#pragma once

#include <QRect>

#include "platform/core/raster.h"

namespace tv::qt {

// The smallest rectangle holding every pixel where `now` differs from `before` (both
// width x height, row-major); empty when they are equal.
QRect ChangedArea(const Rgb* now, const Rgb* before, int width, int height);

}  // namespace tv::qt

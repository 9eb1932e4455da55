// Device contexts for painting into a window's raster.
#pragma once

#include "platform/core/raster.h"
#include "platform/win32_api.h"

namespace tv {

// A device context that draws into `target` (which must outlive it), with the default
// objects selected: a black one-pixel pen and a white brush, current position (0, 0).
HDC CreateRasterDC(Raster& target);
// Releases the context; its handle becomes stale. Selected pens and brushes stay alive.
void DeleteRasterDC(HDC dc);

// Counts of live device contexts and created pens, for leak checks in tests.
int LiveDeviceContextCount();
int LivePenCount();

}  // namespace tv

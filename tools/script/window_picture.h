// The picture of the window that `picture` saves, from the desktop program's widgets
// when the build has them.
#pragma once

#include <string>

#include "platform/core/raster.h"
#include "platform/win32_api.h"
#include "tools/script/picture_area.h"

namespace tv::script {

bool RenderWindowPicture(HWND dialog, const PixelRect& area, int scale, Raster* picture,
                         std::string* error);

// Releases what drawing the pictures took; at the end of the run.
void EndWindowPictures();

}  // namespace tv::script

// Pictures of a dialog as the desktop program's window shows it: the same widgets, style
// and fonts, rendered by Qt. Without a running QApplication one is made on Qt's
// offscreen platform, so that no display is needed.
#pragma once

#include <string>

#include "platform/core/raster.h"
#include "platform/win32_api.h"

namespace tv::qt {

struct PictureRequest {
  HWND dialog = nullptr;
  // The colour that the running backend erases the client area with; the picture shows
  // those pixels in the window colour of the desktop program's style.
  Rgb erasedBackground = 0;
  // The part of the client area to show, in pixels; it must lie inside it.
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  // Each pixel of the window becomes scale x scale pixels; texts are drawn at that
  // resolution, the program's own drawing is enlarged without blur.
  int scale = 1;
};

// False with a message in `error` when the dialog is gone or the area does not fit.
bool RenderWindowPicture(const PictureRequest& request, Raster* picture, std::string* error);

// Destroys the application object that pictures made, if they made one, releasing what
// it loaded (fonts among them). Call before main returns: Qt's own globals are gone by
// the time static objects are destroyed.
void EndWindowPictures();

}  // namespace tv::qt

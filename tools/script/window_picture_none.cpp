// A build without the Qt widgets: no pictures of the window.
#include "tools/script/window_picture.h"

namespace tv::script {

bool RenderWindowPicture(HWND, const PixelRect&, int, Raster*, std::string* error) {
  *error = "this tonvela-script was built without Qt, which draws the window's pictures "
           "(use snapshot for the panels)";
  return false;
}

void EndWindowPictures() {}

}  // namespace tv::script

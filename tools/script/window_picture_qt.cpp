#include "platform/headless/headless_backend.h"
#include "platform/qt/window_picture.h"
#include "tools/script/window_picture.h"

namespace tv::script {

bool RenderWindowPicture(HWND dialog, const PixelRect& area, int scale, Raster* picture,
                         std::string* error) {
  qt::PictureRequest request;
  request.dialog = dialog;
  request.erasedBackground = headless::kBackgroundColour;
  request.x = area.x;
  request.y = area.y;
  request.width = area.width;
  request.height = area.height;
  request.scale = scale;
  return qt::RenderWindowPicture(request, picture, error);
}

void EndWindowPictures() { qt::EndWindowPictures(); }

}  // namespace tv::script

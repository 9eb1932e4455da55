// Where each area that `picture` can show lies in the window.
#pragma once

#include "platform/win32_api.h"
#include "tools/script/script_parser.h"

namespace tv::script {

struct PixelRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The whole client area, or one panel with the texts that label it and a small margin.
PixelRect PictureAreaRect(PictureArea area, HWND dialog);

}  // namespace tv::script

// Draws the application icon at one size and saves it as PNG:
//   tonvela-icon SIZE FILE.png
// The desktop's icon theme and the Windows icon are made from these PNGs.
#include <QImage>
#include <cstdio>
#include <cstdlib>

#include "platform/qt/icon/application_icon.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: tonvela-icon SIZE FILE.png\n", stderr);
    return 2;
  }
  const int size = std::atoi(argv[1]);
  if (size < 16 || size > 1024) {
    std::fputs("tonvela-icon: SIZE must be 16 to 1024\n", stderr);
    return 2;
  }
  if (!tv::qt::DrawApplicationIcon(size).save(QString::fromLocal8Bit(argv[2]), "PNG")) {
    std::fprintf(stderr, "tonvela-icon: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}

#include "platform/qt/window_picture.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <clocale>
#include <cstdio>
#include <memory>
#include <string>

#include "platform/core/window_manager.h"
#include "platform/qt/application_look.h"
#include "platform/qt/dialog_widget.h"

namespace tv::qt {
namespace {

// The offscreen application's own chatter (no XDG_RUNTIME_DIR, and the like) is not
// the user's business; only its errors are.
void KeepErrors(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type != QtCriticalMsg && type != QtFatalMsg) return;
  std::fprintf(stderr, "Qt: %s\n", message.toLocal8Bit().constData());
}

// Made for pictures when the process has no application object of its own.
std::unique_ptr<QApplication>& PictureApplication() {
  static std::unique_ptr<QApplication> application;
  return application;
}

void EnsureApplication() {
  if (qobject_cast<QApplication*>(QCoreApplication::instance())) return;
  qInstallMessageHandler(KeepErrors);
  // The command-line option wins over QT_QPA_PLATFORM: a picture never needs a display.
  static int argc = 3;
  static char name[] = "tonvela";
  static char option[] = "-platform";
  static char platform[] = "offscreen";
  static char* argv[] = {name, option, platform, nullptr};
  // Qt adopts the user's locale; the program's labels are formatted the classic way
  // whatever it is, so its numeric part goes back to what the program had.
  const std::string numeric = std::setlocale(LC_NUMERIC, nullptr);
  PictureApplication() = std::make_unique<QApplication>(argc, argv);
  std::setlocale(LC_NUMERIC, numeric.c_str());
}

Raster ToRaster(const QImage& image) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  Raster raster;
  raster.Resize(rgb.width(), rgb.height(), 0);
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    for (int x = 0; x < rgb.width(); ++x) raster.Set(x, y, line[x] & 0xFFFFFFu);
  }
  return raster;
}

}  // namespace

void EndWindowPictures() { PictureApplication().reset(); }

bool RenderWindowPicture(const PictureRequest& request, Raster* picture, std::string* error) {
  const Window* dialog = FindWindowState(request.dialog);
  if (!dialog) {
    *error = "the dialog is gone";
    return false;
  }
  const QRect client(0, 0, dialog->surface.width, dialog->surface.height);
  const QRect area(request.x, request.y, request.width, request.height);
  if (area.isEmpty() || !client.contains(area) || request.scale < 1) {
    *error = "the area of the picture is not inside the window";
    return false;
  }
  EnsureApplication();
  PrepareApplicationLook();

  // The program draws nothing in the erase colour (its panels are black, its traces
  // green and yellow), so every such pixel is background the desktop erases in its own.
  Raster shown = dialog->surface;
  const QColor window = QApplication::palette().color(QPalette::Active, QPalette::Window);
  const Rgb windowColour = MakeRgb(static_cast<std::uint8_t>(window.red()),
                                   static_cast<std::uint8_t>(window.green()),
                                   static_cast<std::uint8_t>(window.blue()));
  for (Rgb& pixel : shown.pixels) {
    if (pixel == request.erasedBackground) pixel = windowColour;
  }

  DialogWidget widget(*dialog);
  widget.ShowFixedRaster(&shown);
  // Shown and active as the desktop's window is, so that the focused control shows it.
  widget.show();
  widget.activateWindow();
  QApplication::processEvents();
  widget.SyncAll();

  // The whole window first, then the area cut out of it: a text at the edge of the area
  // is drawn as in the window, not clipped while it is drawn.
  QImage whole;
  if (request.scale == 1) {
    whole = widget.grab().toImage();
  } else {
    whole = QImage(client.size() * request.scale, QImage::Format_RGB32);
    whole.setDevicePixelRatio(request.scale);
    whole.fill(window);
    QPainter painter(&whole);
    widget.render(&painter);
  }
  const QImage image = whole.copy(area.x() * request.scale, area.y() * request.scale,
                                  area.width() * request.scale, area.height() * request.scale);
  widget.hide();
  *picture = ToRaster(image);
  return true;
}

}  // namespace tv::qt

#include "platform/qt/icon/application_icon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>

namespace tv::qt {
namespace {

QPainterPath Wave(const QRectF& box, double zeroY, const auto& sample) {
  QPainterPath path;
  constexpr int kSteps = 96;
  for (int i = 0; i <= kSteps; ++i) {
    const double t = static_cast<double>(i) / kSteps;
    const QPointF point(box.left() + t * box.width(), zeroY - sample(t) * box.height());
    if (i == 0) {
      path.moveTo(point);
    } else {
      path.lineTo(point);
    }
  }
  return path;
}

}  // namespace

QImage DrawApplicationIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  const double s = size;
  const QRectF tile(s * 0.03, s * 0.03, s * 0.94, s * 0.94);
  painter.setPen(QPen(QColor(0x5A, 0x6B, 0x7D), std::max(1.0, s / 48)));
  painter.setBrush(QColor(0x10, 0x14, 0x1A));
  painter.drawRoundedRect(tile, s * 0.16, s * 0.16);

  const double pi2 = 2 * std::numbers::pi;
  const QRectF area = tile.adjusted(s * 0.12, s * 0.1, -s * 0.12, -s * 0.1);
  const double pen = std::max(1.0, s / 22);
  const QColor green(0x00, 0xE0, 0x40);
  const QColor yellow(0xFF, 0xE0, 0x00);
  painter.setBrush(Qt::NoBrush);
  if (size >= 24) {
    painter.setPen(QPen(green, pen * 0.8));
    const QRectF top(area.left(), area.top(), area.width(), area.height() * 0.12);
    painter.drawPath(Wave(top, area.top() + area.height() * 0.14,
                          [&](double t) { return std::sin(pi2 * t); }));
    painter.drawPath(Wave(top, area.top() + area.height() * 0.40,
                          [&](double t) { return 0.6 * std::sin(2 * pi2 * t); }));
  }
  painter.setPen(QPen(yellow, pen * 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  const double compositeZero = size >= 24 ? area.top() + area.height() * 0.76 : area.center().y();
  const QRectF bottom(area.left(), 0, area.width(), area.height() * (size >= 24 ? 0.16 : 0.3));
  painter.drawPath(Wave(bottom, compositeZero, [&](double t) {
    return std::sin(pi2 * t) + 0.6 * std::sin(2 * pi2 * t);
  }));
  return image;
}

namespace {

// Draws each size when it is first asked for: the window system takes them when the
// window is shown, and where nothing shows window icons none is drawn.
class ApplicationIconEngine final : public QIconEngine {
 public:
  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
    const int side = std::clamp(std::min(size.width(), size.height()), 1, 1024);
    auto& drawn = drawn_[side];
    if (drawn.isNull()) drawn = QPixmap::fromImage(DrawApplicationIcon(side));
    return drawn;
  }
  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
    QList<QSize> sizes;
    for (const int side : kApplicationIconSizes) sizes.append(QSize(side, side));
    return sizes;
  }
  QIconEngine* clone() const override { return new ApplicationIconEngine(*this); }

 private:
  std::map<int, QPixmap> drawn_;
};

}  // namespace

QIcon ApplicationIcon() { return QIcon(new ApplicationIconEngine); }

}  // namespace tv::qt

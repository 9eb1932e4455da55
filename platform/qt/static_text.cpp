#include "platform/qt/static_text.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>
#include <memory>
#include <vector>

namespace tv::qt {
namespace {

// Substitute fonts are a fraction of a pixel wider than the originals in places; a text
// that fits the original's control must not wrap for that.
constexpr double kWrapTolerance = 1.0;

using Layouts = std::vector<std::unique_ptr<QTextLayout>>;

// One layout per paragraph, its lines placed at their final positions; returns the
// height of all lines.
int LayOut(const QString& text, const QFont& font, int width, Layouts& layouts) {
  const int pitch = StaticTextLinePitch(font);
  QTextOption option(Qt::AlignLeft);
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  int y = 0;
  for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
    auto layout = std::make_unique<QTextLayout>(paragraph, font);
    layout->setTextOption(option);
    layout->beginLayout();
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
      line.setLineWidth(width + kWrapTolerance);
      line.setPosition(QPointF(0, y));
      y += pitch;
    }
    layout->endLayout();
    layouts.push_back(std::move(layout));
  }
  return y;
}

}  // namespace

int StaticTextLinePitch(const QFont& font) {
  return font.pixelSize() > 0 ? font.pixelSize() : QFontMetrics(font).height();
}

int StaticTextHeight(const QString& text, const QFont& font, int width) {
  Layouts layouts;
  return LayOut(text, font, width, layouts);
}

void DrawStaticText(QPainter& painter, const QRect& box, const QString& text, const QFont& font) {
  Layouts layouts;
  LayOut(text, font, box.width(), layouts);
  painter.save();
  painter.setClipRect(box);
  for (const auto& layout : layouts) layout->draw(&painter, box.topLeft());
  painter.restore();
}

}  // namespace tv::qt

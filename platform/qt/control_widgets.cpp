#include "platform/qt/control_widgets.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>

#include "platform/qt/static_text.h"

namespace tv::qt {
namespace {

QString TextOf(const Window& state) { return QString::fromStdString(state.text); }

// A completed click, as the platform's button reports it to the dialog manager.
void PushClick(HWND button) {
  PushInput(MSG{button, WM_LBUTTONDOWN, 0, 0, 0, {0, 0}});
  PushInput(MSG{button, WM_LBUTTONUP, 0, 0, 0, {0, 0}});
}

// Focus belongs to the core; Qt only shows it.
void LeaveFocusToCore(QWidget& widget) { widget.setFocusPolicy(Qt::NoFocus); }

}  // namespace

StaticControl::StaticControl(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);  // statics take no input
}

void StaticControl::Sync(const Window& state) {
  const QString text = TextOf(state);
  if (text == text_) return;
  text_ = text;
  update();
}

void StaticControl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::WindowText));
  DrawStaticText(painter, rect(), text_, font());
}

PushButtonControl::PushButtonControl(HWND handle, QWidget* parent) : QPushButton(parent) {
  LeaveFocusToCore(*this);
  setAutoDefault(false);
  connect(this, &QPushButton::clicked, this, [handle] { PushClick(handle); });
}

void PushButtonControl::Sync(const Window& state) { setText(TextOf(state)); }

void PushButtonControl::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  const QString label = option.text;
  option.text.clear();
  painter.drawControl(QStyle::CE_PushButton, option);
  // Fusion's contents margin is wider than the platform's; two lines must fit.
  const QRect area = rect().adjusted(2, 1, -2, -1);
  painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                 QPalette::ButtonText));
  painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, label);
}

RadioButtonControl::RadioButtonControl(HWND handle, QWidget* parent) : QRadioButton(parent) {
  LeaveFocusToCore(*this);
  setAutoExclusive(false);
  connect(this, &QRadioButton::clicked, this, [handle] { PushClick(handle); });
}

void RadioButtonControl::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  QStyleOptionButton mark = option;
  mark.rect = QRect(0, (height() - kMarkSize) / 2, kMarkSize, kMarkSize);
  painter.drawPrimitive(QStyle::PE_IndicatorRadioButton, mark);
  const QRect textBox(kTextLeft, 0, width() - kTextLeft, height());
  painter.setPen(palette().color(QPalette::ButtonText));
  painter.drawText(textBox, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, option.text);
  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = painter.boundingRect(textBox, Qt::AlignLeft | Qt::AlignVCenter, option.text)
                     .adjusted(-1, 0, 1, 0) & rect();
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
  }
}

void RadioButtonControl::Sync(const Window& state) {
  const QSignalBlocker quiet(this);
  setText(TextOf(state));
  setChecked(state.checked);
}

ScrollBarControl::ScrollBarControl(HWND handle, HWND dialog, QWidget* parent)
    : QScrollBar(Qt::Horizontal, parent), handle_(handle), dialog_(dialog) {
  LeaveFocusToCore(*this);
  setContextMenuPolicy(Qt::NoContextMenu);
  setSingleStep(1);
  setPageStep(0);  // no page size: the program steps by its own amount, the thumb stays small
  connect(this, &QAbstractSlider::actionTriggered, this, [this](int action) { OnAction(action); });
}

void ScrollBarControl::Sync(const Window& state) {
  const QSignalBlocker quiet(this);
  setRange(std::min(state.scrollMin, state.scrollMax), std::max(state.scrollMin, state.scrollMax));
  setValue(state.scrollPos);
  shownPosition_ = state.scrollPos;
}

void ScrollBarControl::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    event->ignore();  // no middle-click jumps or context menus
    return;
  }
  leftButtonDown_ = true;
  trackedPosition_ = shownPosition_;
  QScrollBar::mousePressEvent(event);
}

void ScrollBarControl::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !leftButtonDown_) {
    event->ignore();
    return;
  }
  const bool draggedThumb = isSliderDown();
  QScrollBar::mouseReleaseEvent(event);
  leftButtonDown_ = false;
  if (draggedThumb) Send(SB_THUMBPOSITION, trackedPosition_);
  Send(SB_ENDSCROLL, 0);
}

void ScrollBarControl::wheelEvent(QWheelEvent* event) { event->ignore(); }

void ScrollBarControl::OnAction(int action) {
  switch (action) {
    case SliderSingleStepSub: Send(SB_LINELEFT, 0); break;
    case SliderSingleStepAdd: Send(SB_LINERIGHT, 0); break;
    case SliderPageStepSub: Send(SB_PAGELEFT, 0); break;
    case SliderPageStepAdd: Send(SB_PAGERIGHT, 0); break;
    case SliderToMinimum: Send(SB_LEFT, 0); break;
    case SliderToMaximum: Send(SB_RIGHT, 0); break;
    case SliderMove:
      // Inside this signal the new position is sliderPosition(); value() is the old one.
      trackedPosition_ = sliderPosition();
      Send(SB_THUMBTRACK, trackedPosition_);
      break;
    default: return;
  }
  // Qt has moved its thumb already; put it back until the program sets a position.
  setSliderPosition(shownPosition_);
}

void ScrollBarControl::Send(int code, int position) {
  PushInput(MSG{dialog_, WM_HSCROLL,
                MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(position)),
                reinterpret_cast<LPARAM>(handle_), 0, {0, 0}});
}

}  // namespace tv::qt

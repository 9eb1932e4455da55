#include "platform/qt/dialog_widget.h"

#include <QCloseEvent>
#include <QImage>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>

#include "platform/core/backend.h"
#include "platform/qt/control_widgets.h"
#include "platform/qt/dialog_font.h"
#include "platform/qt/key_translation.h"

namespace tv::qt {
namespace {

Qt::WindowFlags FlagsFor(DWORD style) {
  Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint;
  if ((style & WS_CAPTION) == WS_CAPTION) flags |= Qt::WindowTitleHint;
  if (style & WS_SYSMENU) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (style & WS_MINIMIZEBOX) flags |= Qt::WindowMinimizeButtonHint;
  if (style & WS_MAXIMIZEBOX) flags |= Qt::WindowMaximizeButtonHint;
  return flags;
}

QRect GeometryOf(const Window& control) {
  return QRect(control.rect.left, control.rect.top, control.rect.right - control.rect.left,
               control.rect.bottom - control.rect.top);
}

}  // namespace

DialogWidget::DialogWidget(const Window& dialog) : handle_(dialog.handle) {
  setWindowFlags(FlagsFor(dialog.style));
  setAttribute(Qt::WA_OpaquePaintEvent);  // the raster covers the whole client area
  if (dialog.dialogTemplate) setFont(DialogFont(*dialog.dialogTemplate));
  // No sizing border; maximising, where the desktop allows it, moves and grows nothing.
  setFixedSize(GeometryOf(dialog).size());
  move(dialog.rect.left, dialog.rect.top);
  setFocusPolicy(Qt::NoFocus);
  installEventFilter(this);
  presentTimer_.setSingleShot(true);
  connect(&presentTimer_, &QTimer::timeout, this, &DialogWidget::UpdateChangedArea);
  for (HWND child : dialog.children) {
    if (const Window* control = FindWindowState(child)) AddControl(*control);
  }
  SyncAll();
}

DialogWidget::~DialogWidget() = default;

void DialogWidget::AddControl(const Window& control) {
  ControlMirror* mirror = nullptr;
  switch (control.kind) {
    case ControlKind::Static: mirror = new StaticControl(this); break;
    case ControlKind::ScrollBar: mirror = new ScrollBarControl(control.handle, handle_, this); break;
    case ControlKind::Button:
      if (control.IsAutoRadioButton()) {
        mirror = new RadioButtonControl(control.handle, this);
      } else {
        mirror = new PushButtonControl(control.handle, this);
      }
      break;
  }
  QWidget* widget = mirror->AsWidget();
  widget->setGeometry(GeometryOf(control));
  widget->setVisible((control.style & WS_VISIBLE) != 0);
  widget->installEventFilter(this);
  controls_[control.handle] = mirror;
}

void DialogWidget::SyncAll() {
  if (const Window* dialog = FindWindowState(handle_)) {
    setWindowTitle(QString::fromStdString(dialog->text));
  }
  for (const auto& [handle, mirror] : controls_) {
    if (const Window* control = FindWindowState(handle)) SyncControl(*control);
  }
}

void DialogWidget::SyncControl(const Window& control) {
  const auto it = controls_.find(control.handle);
  if (it == controls_.end()) return;
  it->second->Sync(control);
  if (GetFocusedControl() == control.handle) it->second->AsWidget()->setFocus(Qt::OtherFocusReason);
}

void DialogWidget::PresentRaster(const Raster&) {
  // Paints come as fast as input does; the screen shows at most one picture per
  // refresh. The next one goes out one refresh interval after the last, or now.
  if (presentTimer_.isActive()) return;
  const qreal hertz = screen() ? screen()->refreshRate() : 60.0;
  const qint64 interval = static_cast<qint64>(1000.0 / (hertz > 0 ? hertz : 60.0));
  const qint64 elapsed = sincePresent_.isValid() ? sincePresent_.elapsed() : interval;
  presentTimer_.start(static_cast<int>(std::max<qint64>(0, interval - elapsed)));
}

void DialogWidget::ShowFixedRaster(const Raster* raster) {
  fixedRaster_ = raster;
  update();
}

const Raster* DialogWidget::CurrentRaster() const {
  if (fixedRaster_) return fixedRaster_;
  const Window* state = FindWindowState(handle_);
  return state && state->surface.width > 0 && state->surface.height > 0 ? &state->surface
                                                                          : nullptr;
}

void DialogWidget::UpdateChangedArea() {
  sincePresent_.start();
  const Raster* surface = CurrentRaster();
  if (!surface) return;
  const QRegion changed = changes_.Update(surface->pixels.data(), surface->width, surface->height);
  if (!changed.isEmpty()) update(changed);
}

QWidget* DialogWidget::ControlWidget(HWND control) const {
  const auto it = controls_.find(control);
  return it == controls_.end() ? nullptr : it->second->AsWidget();
}

void DialogWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const Raster* surface = CurrentRaster();
  if (!surface) {
    const Rgb background = CurrentBackend().BackgroundColour();
    painter.fillRect(rect(), QColor::fromRgb(0xFF000000u | background));
    return;
  }
  // The core's pixels as they are, without a copy: 0x00RRGGBB is Qt's RGB32 with its
  // unused byte clear, which Qt ignores.
  const QImage image(reinterpret_cast<const uchar*>(surface->pixels.data()), surface->width,
                     surface->height, surface->width * static_cast<int>(sizeof(Rgb)),
                     QImage::Format_RGB32);
  for (const QRect& changed : event->region()) {
    const QRect area = changed & image.rect();
    painter.drawImage(area.topLeft(), image, area);
  }
}

void DialogWidget::closeEvent(QCloseEvent* event) {
  // The program decides: WM_CLOSE leads to DestroyWindow, which deletes this widget.
  event->ignore();
  PushInput(MSG{handle_, WM_CLOSE, 0, 0, 0, {0, 0}});
}

bool DialogWidget::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool pressed = event->type() == QEvent::KeyPress;
    if (!(key->isAutoRepeat() && !pressed)) ForwardKey(key->key(), pressed);
    return true;  // keys belong to the dialog manager, not to Qt's widgets
  }
  return QWidget::eventFilter(watched, event);
}

void DialogWidget::ForwardKey(int qtKey, bool pressed) {
  const auto virtualKey = VirtualKeyFor(qtKey);
  if (!virtualKey) return;
  HWND target = GetFocusedControl();
  if (!target) target = handle_;
  const UINT message = pressed ? WM_KEYDOWN : WM_KEYUP;
  if (*virtualKey == VK_SHIFT) shiftHeld_ = pressed;
  // Shift+Tab typed without a Shift key event of its own (e.g. synthesised input).
  const bool addShift = qtKey == Qt::Key_Backtab && !shiftHeld_;
  if (addShift && pressed) PushInput(MSG{target, WM_KEYDOWN, VK_SHIFT, 0, 0, {0, 0}});
  PushInput(MSG{target, message, *virtualKey, 0, 0, {0, 0}});
  if (addShift && !pressed) PushInput(MSG{target, WM_KEYUP, VK_SHIFT, 0, 0, {0, 0}});
}

}  // namespace tv::qt

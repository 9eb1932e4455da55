#include "platform/qt/accessible_labels.h"

#include <QAccessibleWidget>
#include <QRadioButton>
#include <QString>
#include <QWidget>
#include <climits>

#include "platform/qt/control_widgets.h"

namespace tv::qt {
namespace {

bool OverlapVertically(const RECT& a, const RECT& b) { return a.top < b.bottom && b.top < a.bottom; }
bool OverlapHorizontally(const RECT& a, const RECT& b) { return a.left < b.right && b.left < a.right; }

// The nearest static left of `slider` on its row, or the nearest just below it.
const Window* LabelOf(const Window& dialog, const Window& slider, bool below) {
  const Window* best = nullptr;
  int bestGap = INT_MAX;
  for (HWND child : dialog.children) {
    const Window* label = FindWindowState(child);
    if (!label || label->kind != ControlKind::Static) continue;
    int gap = INT_MAX;
    if (!below && OverlapVertically(label->rect, slider.rect) && label->rect.right <= slider.rect.left) {
      gap = slider.rect.left - label->rect.right;
    }
    if (below && OverlapHorizontally(label->rect, slider.rect) && label->rect.top >= slider.rect.bottom) {
      gap = label->rect.top - slider.rect.bottom;
    }
    if (gap < bestGap) {
      bestGap = gap;
      best = label;
    }
  }
  return best;
}

QString TextOf(const Window* label) { return label ? QString::fromStdString(label->text) : QString(); }

class AccessibleRadioButton final : public QAccessibleWidget {
 public:
  explicit AccessibleRadioButton(QRadioButton* button) : QAccessibleWidget(button, QAccessible::RadioButton) {}

  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Name) return Button()->text();
    return QAccessibleWidget::text(kind);
  }
  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.checkable = true;
    state.checked = Button()->isChecked();
    return state;
  }
  QStringList actionNames() const override { return {pressAction()}; }
  void doAction(const QString& action) override {
    if (action == pressAction()) Button()->click();
  }

 private:
  QRadioButton* Button() const { return static_cast<QRadioButton*>(widget()); }
};

QAccessibleInterface* RadioButtonFactory(const QString&, QObject* object) {
  if (auto* button = dynamic_cast<RadioButtonControl*>(object)) return new AccessibleRadioButton(button);
  return nullptr;
}

}  // namespace

void InstallAccessibleRadioButtons() {
  static const bool installed = [] {
    QAccessible::installFactory(RadioButtonFactory);
    return true;
  }();
  (void)installed;
}

void UpdateAccessibleLabels(const Window& dialog, const std::function<QWidget*(HWND)>& widgetFor) {
  for (HWND child : dialog.children) {
    const Window* slider = FindWindowState(child);
    if (!slider || slider->kind != ControlKind::ScrollBar) continue;
    QWidget* widget = widgetFor(child);
    if (!widget) continue;
    const Window* beside = LabelOf(dialog, *slider, false);
    const Window* below = LabelOf(dialog, *slider, true);
    const QString name = TextOf(beside ? beside : below);
    const QString description = beside ? TextOf(below) : QString();
    if (widget->accessibleName() != name) widget->setAccessibleName(name);
    if (widget->accessibleDescription() != description) widget->setAccessibleDescription(description);
  }
}

}  // namespace tv::qt

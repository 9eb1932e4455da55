// The dialog as it opens: caption, size, every control where the template puts it,
// Japanese texts in a font that has their glyphs, none clipped, nothing checked, focus.
#include <QAbstractButton>
#include <QFontInfo>
#include <QFontMetrics>
#include <QRadioButton>

#include "platform/dialog_template.h"
#include "platform/qt/control_widgets.h"
#include "platform/qt/qt_backend.h"
#include "platform/qt/static_text.h"
#include "qt_test_support.h"

namespace tv::qt_test {
namespace {

constexpr int kPresetIds[] = {1008, 1009, 1010, 1011, 1039, 1040, 1012};

QRect PixelRect(const ControlTemplate& control) {
  return QRect(DialogUnitsToPixelsX(control.x), DialogUnitsToPixelsY(control.y),
               DialogUnitsToPixelsX(control.width), DialogUnitsToPixelsY(control.height));
}

const DialogTemplate& Template() { return *FindDialogTemplate(101); }

class DialogLookTest : public QtDialogTest {
 protected:
  // Every text on screen fits its control: no line cut off at the bottom, no radio
  // label past the right edge, the push buttons' texts within their bevels.
  void ExpectNoTextClipped() {
    for (HWND child : FindWindowState(Dialog())->children) {
      const Window& control = *FindWindowState(child);
      QWidget& widget = *qt::Backend().WidgetFor(child);
      const QString text = QString::fromStdString(control.text);
      SCOPED_TRACE("control " + std::to_string(control.id) + " \"" + control.text + "\"");
      if (control.kind == ControlKind::Static) {
        EXPECT_LE(qt::StaticTextHeight(text, widget.font(), widget.width()), widget.height());
      } else if (control.IsAutoRadioButton()) {
        EXPECT_LE(qt::RadioButtonControl::kTextLeft +
                      QFontMetrics(widget.font()).horizontalAdvance(text),
                  widget.width());
      } else if (control.IsPushButton()) {
        const QRect area = widget.rect().adjusted(2, 1, -2, -1);
        const QRect needed = QFontMetrics(widget.font())
                                 .boundingRect(area, Qt::AlignCenter | Qt::TextWordWrap, text);
        EXPECT_TRUE(area.contains(needed)) << "needs " << needed.width() << "x" << needed.height();
      }
    }
  }
};

TEST_F(DialogLookTest, WindowHasTheCaptionAndAFixedClientSizeWithMinimiseAndMaximise) {
  QWidget& dialog = DialogWidget();
  EXPECT_EQ(dialog.windowTitle().toStdString(), "TonvelaVer2019.05.10");
  const QSize client(DialogUnitsToPixelsX(Template().width), DialogUnitsToPixelsY(Template().height));
  EXPECT_EQ(dialog.size(), client);
  EXPECT_EQ(dialog.minimumSize(), client);
  EXPECT_EQ(dialog.maximumSize(), client);
  EXPECT_TRUE(dialog.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_TRUE(dialog.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_TRUE(dialog.isVisible());
}

TEST_F(DialogLookTest, EveryControlSitsAtItsTemplateGeometryWithTheCoresText) {
  const auto& children = FindWindowState(Dialog())->children;
  ASSERT_EQ(children.size(), 49u);
  ASSERT_EQ(Template().controls.size(), 49u);
  for (std::size_t i = 0; i < children.size(); ++i) {
    const ControlTemplate& item = Template().controls[i];
    const Window& control = *FindWindowState(children[i]);
    SCOPED_TRACE("control #" + std::to_string(i + 1) + " id " + std::to_string(item.id));
    QWidget* widget = qt::Backend().WidgetFor(children[i]);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->geometry(), PixelRect(item));
    EXPECT_TRUE(widget->isVisible());
    const QString text = QString::fromStdString(control.text);
    switch (item.kind) {
      case ControlKind::Static:
        EXPECT_EQ(dynamic_cast<qt::StaticControl&>(*widget).Text(), text);
        break;
      case ControlKind::Button:
        EXPECT_EQ(dynamic_cast<QAbstractButton&>(*widget).text(), text);
        EXPECT_EQ(dynamic_cast<QRadioButton*>(widget) != nullptr, control.IsAutoRadioButton());
        break;
      case ControlKind::ScrollBar:
        EXPECT_NE(dynamic_cast<qt::ScrollBarControl*>(widget), nullptr);
        break;
    }
  }
}

TEST_F(DialogLookTest, TheTemplateFontFallsBackToAFontWithEveryJapaneseGlyph) {
  const QFont font = DialogWidget().font();
  EXPECT_EQ(font.pixelSize(), 12);  // 9 points at 96 pixels per inch
  const QString family = QFontInfo(font).family();
  EXPECT_TRUE(family.startsWith(QStringLiteral("IPA"))) << family.toStdString();
  const QFontMetrics metrics(font);
  for (HWND child : FindWindowState(Dialog())->children) {
    const QString text = QString::fromStdString(FindWindowState(child)->text);
    for (const char32_t character : text.toUcs4()) {
      if (character == U'\n') continue;
      EXPECT_TRUE(metrics.inFontUcs4(character))
          << "no glyph for U+" << std::hex << static_cast<unsigned>(character);
    }
  }
}

TEST_F(DialogLookTest, NoTextIsClippedAtStartNorAfterAnyPreset) {
  {
    SCOPED_TRACE("at start");
    ExpectNoTextClipped();
  }
  for (const int preset : kPresetIds) {
    SCOPED_TRACE("after preset " + std::to_string(preset));
    Click(preset, QPoint(5, Widget(preset).height() / 2));
    ExpectNoTextClipped();
  }
}

TEST_F(DialogLookTest, OpensWithNoPresetCheckedAndTheFocusOnVolumeDown) {
  for (const int preset : kPresetIds) {
    SCOPED_TRACE("preset " + std::to_string(preset));
    EXPECT_FALSE(State(preset).checked);
    EXPECT_FALSE(WidgetAs<QRadioButton>(preset).isChecked());
  }
  EXPECT_EQ(GetFocusedControl(), Control(1003));
  EXPECT_EQ(DialogWidget().focusWidget(), &Widget(1003));
}

}  // namespace
}  // namespace tv::qt_test

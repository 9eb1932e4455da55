#include "platform/qt/dialog_font.h"

#include <QString>
#include <QStringList>

namespace tv::qt {

void InstallDialogFontSubstitutions() {
  // fontconfig knows no alias for these, and would fall back to a Latin font whose
  // boxes stand in for every Japanese glyph.
  const QStringList gothic{QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                           QStringLiteral("Noto Sans CJK JP")};
  QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), gothic);
  QFont::insertSubstitutions(QStringLiteral("MS PGothic"), gothic);
  QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), gothic);
  QFont::insertSubstitutions(QStringLiteral("MS Gothic"), gothic);
}

QFont DialogFont(const DialogTemplate& dialogTemplate) {
  QFont font(QString::fromUtf8(dialogTemplate.fontFace.data(),
                               static_cast<qsizetype>(dialogTemplate.fontFace.size())));
  font.setPixelSize((dialogTemplate.fontPointSize * 96 + 36) / 72);
  font.setItalic(dialogTemplate.fontItalic);
  if (dialogTemplate.fontWeight >= 700) font.setBold(true);
  font.setStyleStrategy(QFont::PreferDefault);
  return font;
}

}  // namespace tv::qt

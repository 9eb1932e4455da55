#include "platform/qt/application_look.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

#include "platform/qt/dialog_font.h"

namespace tv::qt {

// One look wherever the program runs: Fusion draws arrow buttons on scroll bars and
// does not jump the thumb to a trough click, as the platform's scroll bars behave.
void PrepareApplicationLook() {
  static bool prepared = false;
  if (prepared) return;
  prepared = true;
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  QApplication::setPalette(QApplication::style()->standardPalette());
  QApplication::setQuitOnLastWindowClosed(false);  // the program's own loop decides
  InstallDialogFontSubstitutions();
}

}  // namespace tv::qt

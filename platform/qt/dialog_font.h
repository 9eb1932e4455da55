// The dialog font: the template's typeface, with the Windows Japanese Gothic families
// mapped onto the metric-compatible IPA fonts when they are not installed.
#pragma once

#include <QFont>

#include "platform/dialog_template.h"

namespace tv::qt {

// Substitutions for the families that dialog templates ask for. Idempotent.
void InstallDialogFontSubstitutions();

// The template's font at 100 % scale: points at 96 pixels per inch, as the dialog
// units are, so that texts keep their size relative to the controls on any screen.
QFont DialogFont(const DialogTemplate& dialogTemplate);

}  // namespace tv::qt

// The look that the program's widgets share wherever they are shown: the desktop
// window, and the offscreen pictures of it.
#pragma once

namespace tv::qt {

// Fusion with its own palette, and the dialog font's substitutions. Needs the
// QApplication; idempotent.
void PrepareApplicationLook();

}  // namespace tv::qt

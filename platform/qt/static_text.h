// How the platform's left-aligned statics lay out text: a line feed starts a new line,
// a line that does not fit wraps (between words, or between any two Japanese
// characters), lines follow each other at the font's em height, and the control clips.
#pragma once

#include <QFont>
#include <QRect>
#include <QString>

class QPainter;

namespace tv::qt {

// Lines are this far apart: the em height, as the Japanese Gothic fonts of the
// platform have no extra leading.
int StaticTextLinePitch(const QFont& font);

// The height that `text` needs at `width` pixels.
int StaticTextHeight(const QString& text, const QFont& font, int width);

// Draws `text` into `box`, clipped to it.
void DrawStaticText(QPainter& painter, const QRect& box, const QString& text, const QFont& font);

}  // namespace tv::qt

// What screen readers are told about the sliders, whose scroll bars have no text of
// their own: as name, the text of the static beside a slider on its left (a harmonic's
// name), or, when there is none, the one just below it (the frequency's); as
// description, the static just below it (the amplitude, power and level). The buttons
// carry their own texts; Qt's accessible scroll bar gives each slider's value.
#pragma once

#include <functional>

#include "platform/core/window_manager.h"

class QWidget;

namespace tv::qt {

// The preset buttons are radio buttons whose checks the program sets (Qt's exclusive
// groups are off), which Qt would present as check boxes: they are presented as radio
// buttons. Idempotent; before the first widget is shown.
void InstallAccessibleRadioButtons();

// Sets every slider widget's accessible name and description from the statics' texts
// as the core now holds them. `widgetFor` finds the widget of a control.
void UpdateAccessibleLabels(const Window& dialog, const std::function<QWidget*(HWND)>& widgetFor);

}  // namespace tv::qt

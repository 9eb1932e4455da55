#include "app/buttons.h"

void OnCommand(HWND, WPARAM) {}

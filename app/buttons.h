// The presets, the two volume buttons and Clear.
#pragma once

#include "platform/win32_api.h"

void OnCommand(HWND dialog, WPARAM wParam);

// The dialog procedure: dispatches each message to the handler that owns it.
#pragma once

#include "platform/win32_api.h"

#include "app/resource.h"

inline constexpr int kMainDialogResourceId = IDD_TONVELA;

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

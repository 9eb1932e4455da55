// The window-manager core: the state of every window and control, shared by all
// backends. Backends read it to show the dialog and feed user input through PushInput;
// app code reaches it only through the functions of platform/win32_api.h.
//
// Everything here runs on the GUI thread, except PostMessageA.
#pragma once

#include <string>
#include <vector>

#include "platform/core/raster.h"
#include "platform/dialog_template.h"
#include "platform/win32_api.h"

namespace tv {

struct Window {
  HWND handle = nullptr;
  HWND parent = nullptr;  // null for the dialog
  int id = 0;             // control ID; 0 for the dialog
  ControlKind kind = ControlKind::Static;
  bool isDialog = false;
  DWORD style = 0;
  RECT rect{};            // pixels, relative to the parent's client area
  std::string text;       // UTF-8
  int scrollMin = 0;
  int scrollMax = 100;
  int scrollPos = 0;      // always within the range, as shown
  bool checked = false;
  DLGPROC dialogProc = nullptr;
  std::vector<HWND> children;  // template order
  const DialogTemplate* dialogTemplate = nullptr;
  bool invalid = false;
  bool eraseOnPaint = false;
  Raster surface;  // dialog only: the client area as painted

  bool IsAutoRadioButton() const {
    return kind == ControlKind::Button && (style & 0x0F) == BS_AUTORADIOBUTTON;
  }
  bool IsPushButton() const { return kind == ControlKind::Button && (style & 0x0F) == BS_PUSHBUTTON; }
  bool HasTabStop() const { return (style & WS_TABSTOP) != 0; }
  bool StartsGroup() const { return (style & WS_GROUP) != 0; }
};

// Null for a stale or unknown handle.
Window* FindWindowState(HWND handle);
// The dialog that `handle` is or belongs to; null if none.
Window* FindOwningDialog(HWND handle);
HWND GetFocusedControl();
void SetFocusedControl(HWND control);

// Queues user input (a mouse, key or scroll message) for the GUI thread. Input is
// retrieved after every posted message, as on the platform.
void PushInput(const MSG& input);

// Private messages that backends push as input. A click on a button: the dialog manager
// checks an auto radio button, focuses the button and sends WM_COMMAND.
inline constexpr UINT kInputClick = 0x8001;

// Clicks a button as the user would: focus, radio-group check, then WM_COMMAND to the
// dialog procedure with BN_CLICKED. Used for mouse clicks, Space and arrow navigation.
void ClickButton(Window& button);
// Calls the dialog procedure of `dialog` synchronously, as SendMessage would.
INT_PTR SendToDialog(Window& dialog, UINT message, WPARAM wParam, LPARAM lParam);
// True while at least one window has a pending paint.
bool AnyWindowInvalid();
// True while the thread has a posted message, queued input or a quit request.
bool HasQueuedMessages();

// Pressed state of modifier keys, updated as key messages are retrieved.
bool IsShiftDown();

// Forgets every window, queued message and input: the state of a fresh process.
// Tests use it between cases.
void ResetWindowManager();

}  // namespace tv

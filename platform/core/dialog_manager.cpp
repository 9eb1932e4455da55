// The dialog manager's keyboard handling, as the system's dialog manager was seen to do
// it (tools/win32-probes/keyboard_probe.cpp records the system's behaviour under Wine).
//
// With the dialog's handle: Tab and Shift+Tab move the focus among the WS_TABSTOP
// controls in template order, wrapping around. The arrow keys move it to the next or
// previous control of the focused control's group (from one WS_GROUP control up to the
// next), wrapping within the group; static texts take the focus too. An auto radio
// button that the arrows reach is clicked unless it is already checked. Space clicks
// the focused button. Enter clicks the focused push button, or else sends IDOK; Escape
// sends IDCANCEL. Messages for windows outside the dialog are not its business.
//
// With a control's handle in place of the dialog's (a loop that passes each message's
// own target), the control is treated as a dialog without controls: every key message
// is taken and handed to the control alone, so Space still presses a focused button,
// but Tab, the arrows, Enter and Escape do nothing, and a Tab key-down is even left to
// the caller's TranslateMessage and DispatchMessage.
#include <algorithm>
#include <vector>

#include "platform/core/window_manager.h"

namespace tv {
namespace {

std::vector<Window*> Controls(const Window& dialog) {
  std::vector<Window*> controls;
  for (HWND child : dialog.children) {
    if (Window* control = FindWindowState(child)) controls.push_back(control);
  }
  return controls;
}

std::ptrdiff_t IndexOf(const std::vector<Window*>& controls, HWND handle) {
  const auto it = std::find_if(controls.begin(), controls.end(),
                               [handle](const Window* c) { return c->handle == handle; });
  return it == controls.end() ? -1 : it - controls.begin();
}

void MoveTabFocus(Window& dialog, bool backwards) {
  const auto controls = Controls(dialog);
  if (controls.empty()) return;
  const auto count = static_cast<std::ptrdiff_t>(controls.size());
  std::ptrdiff_t index = IndexOf(controls, GetFocusedControl());
  if (index < 0) index = backwards ? 0 : count - 1;
  for (std::ptrdiff_t step = 1; step <= count; ++step) {
    const std::ptrdiff_t candidate = ((index + (backwards ? -step : step)) % count + count) % count;
    if (controls[candidate]->HasTabStop()) {
      SetFocusedControl(controls[candidate]->handle);
      return;
    }
  }
}

void MoveGroupFocus(Window& dialog, bool backwards) {
  const auto controls = Controls(dialog);
  const std::ptrdiff_t focused = IndexOf(controls, GetFocusedControl());
  if (focused < 0) return;
  std::ptrdiff_t first = focused;
  while (first > 0 && !controls[first]->StartsGroup()) --first;
  std::ptrdiff_t end = focused + 1;
  while (end < static_cast<std::ptrdiff_t>(controls.size()) && !controls[end]->StartsGroup()) ++end;
  const std::ptrdiff_t size = end - first;
  if (size < 2) return;
  const std::ptrdiff_t offset = (focused - first + (backwards ? size - 1 : 1)) % size;
  Window& candidate = *controls[first + offset];
  if (candidate.IsAutoRadioButton() && !candidate.checked) {
    ClickButton(candidate);
  } else {
    SetFocusedControl(candidate.handle);
  }
}

bool IsInside(const Window& dialog, HWND window) {
  if (window == dialog.handle) return true;
  const Window* state = FindWindowState(window);
  return state && state->parent == dialog.handle;
}

// A control passed as the dialog: only the control's own handling of the key runs.
BOOL KeyForControlAlone(Window& control, const MSG& msg) {
  if (msg.hwnd != control.handle) return FALSE;
  if (msg.message == WM_KEYDOWN) {
    if (msg.wParam == VK_TAB) return FALSE;
    if (msg.wParam == VK_SPACE && control.kind == ControlKind::Button) ClickButton(control);
    return TRUE;
  }
  return msg.message == WM_KEYUP || msg.message == WM_CHAR ? TRUE : FALSE;
}

void SendCommand(Window& dialog, int id, HWND control) {
  SendToDialog(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
               reinterpret_cast<LPARAM>(control));
}

}  // namespace
}  // namespace tv

BOOL IsDialogMessageA(HWND dialogHandle, MSG* msg) {
  using namespace tv;
  if (!msg) return FALSE;
  Window* dialog = FindWindowState(dialogHandle);
  if (!dialog) return FALSE;
  if (!dialog->isDialog) return KeyForControlAlone(*dialog, *msg);
  if (!IsInside(*dialog, msg->hwnd)) return FALSE;
  if (msg->message == WM_KEYUP || msg->message == WM_CHAR) return TRUE;
  if (msg->message != WM_KEYDOWN) return FALSE;
  Window* focused = FindWindowState(GetFocusedControl());
  switch (msg->wParam) {
    case VK_TAB:
      MoveTabFocus(*dialog, IsShiftDown());
      return TRUE;
    case VK_LEFT:
    case VK_UP:
      MoveGroupFocus(*dialog, true);
      return TRUE;
    case VK_RIGHT:
    case VK_DOWN:
      MoveGroupFocus(*dialog, false);
      return TRUE;
    case VK_SPACE:
      if (focused && focused->kind == ControlKind::Button) ClickButton(*focused);
      return TRUE;
    case VK_RETURN:
      if (focused && focused->IsPushButton()) {
        SendCommand(*dialog, focused->id, focused->handle);
      } else {
        SendCommand(*dialog, IDOK, GetDlgItem(dialog->handle, IDOK));
      }
      return TRUE;
    case VK_ESCAPE:
      SendCommand(*dialog, IDCANCEL, GetDlgItem(dialog->handle, IDCANCEL));
      return TRUE;
    default:
      return TRUE;  // other keys, Shift among them, do nothing in this dialog
  }
}

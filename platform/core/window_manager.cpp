// Windows, controls, the message loop and painting.
#include "platform/core/window_manager.h"

#include <algorithm>
#include <clocale>
#include <map>
#include <memory>

#include "platform/core/backend.h"
#include "platform/core/cp932_text.h"
#include "platform/core/gdi_canvas.h"
#include "platform/core/message_queue.h"

namespace tv {
namespace {

struct WindowTable {
  std::map<std::uintptr_t, std::unique_ptr<Window>> windows;
  std::uintptr_t nextHandle = 0x100;  // handles are never reused
  HWND focus = nullptr;
  bool shiftDown = false;
};

WindowTable& Table() {
  static WindowTable table;
  return table;
}

HWND NewHandle() {
  // Handles step by 4 so that they look like the platform's and never equal small IDs.
  const std::uintptr_t value = Table().nextHandle;
  Table().nextHandle += 4;
  return reinterpret_cast<HWND>(value);
}

Window& AddWindow(std::unique_ptr<Window> window) {
  window->handle = NewHandle();
  Window& stored = *window;
  Table().windows.emplace(reinterpret_cast<std::uintptr_t>(stored.handle), std::move(window));
  return stored;
}

RECT PixelRect(int x, int y, int width, int height) {
  const int left = DialogUnitsToPixelsX(x);
  const int top = DialogUnitsToPixelsY(y);
  return RECT{left, top, left + DialogUnitsToPixelsX(width), top + DialogUnitsToPixelsY(height)};
}

void NotifyChanged(const Window& window) {
  if (!window.isDialog) CurrentBackend().ControlChanged(window.handle);
}

// The first control with WS_TABSTOP, in template order.
HWND FirstTabStop(const Window& dialog) {
  for (HWND child : dialog.children) {
    const Window* control = FindWindowState(child);
    if (control && control->HasTabStop()) return child;
  }
  return nullptr;
}

void UncheckGroupSiblings(Window& button) {
  const Window* dialog = FindWindowState(button.parent);
  if (!dialog) return;
  const auto& children = dialog->children;
  const auto self = std::find(children.begin(), children.end(), button.handle);
  if (self == children.end()) return;
  // The group runs from the nearest WS_GROUP control at or before the button up to the
  // next WS_GROUP control after it.
  auto first = self;
  while (first != children.begin()) {
    const Window* control = FindWindowState(*first);
    if (control && control->StartsGroup()) break;
    --first;
  }
  for (auto it = first; it != children.end(); ++it) {
    Window* control = FindWindowState(*it);
    if (!control) continue;
    if (it != first && it != self && control->StartsGroup()) break;
    if (control != &button && control->IsAutoRadioButton() && control->checked) {
      control->checked = false;
      NotifyChanged(*control);
    }
  }
}

void PaintNow(Window& window) {
  if (!window.invalid) return;
  if (window.dialogProc) {
    SendToDialog(window, WM_PAINT, 0, 0);
  }
  // A procedure that did not paint leaves nothing pending, as the default processing
  // validates the window.
  window.invalid = false;
  window.eraseOnPaint = false;
}

void DestroyWindowState(Window& window) {
  for (HWND child : window.children) {
    if (FindWindowState(child) == nullptr) continue;
    if (Table().focus == child) Table().focus = nullptr;
    Table().windows.erase(reinterpret_cast<std::uintptr_t>(child));
  }
  if (Table().focus == window.handle) Table().focus = nullptr;
  Table().windows.erase(reinterpret_cast<std::uintptr_t>(window.handle));
}

}  // namespace

Window* FindWindowState(HWND handle) {
  auto& windows = Table().windows;
  const auto it = windows.find(reinterpret_cast<std::uintptr_t>(handle));
  return it == windows.end() ? nullptr : it->second.get();
}

Window* FindOwningDialog(HWND handle) {
  Window* window = FindWindowState(handle);
  while (window && !window->isDialog) window = FindWindowState(window->parent);
  return window;
}

HWND GetFocusedControl() { return Table().focus; }

void SetFocusedControl(HWND control) {
  Window* window = FindWindowState(control);
  if (!window || window->isDialog) return;
  const HWND previous = Table().focus;
  Table().focus = control;
  if (Window* old = FindWindowState(previous)) NotifyChanged(*old);
  NotifyChanged(*window);
}

void PushInput(const MSG& input) {
  GuiQueue().PushInput(input);
  CurrentBackend().WakeUp();
}

INT_PTR SendToDialog(Window& dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return dialog.dialogProc ? dialog.dialogProc(dialog.handle, message, wParam, lParam) : FALSE;
}

void ClickButton(Window& button) {
  const HWND handle = button.handle;
  const HWND parent = button.parent;
  const int id = button.id;
  SetFocusedControl(handle);
  if (button.IsAutoRadioButton()) {
    UncheckGroupSiblings(button);
    if (!button.checked) {
      button.checked = true;
      NotifyChanged(button);
    }
  }
  if (Window* dialog = FindWindowState(parent)) {
    SendToDialog(*dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
                 reinterpret_cast<LPARAM>(handle));
  }
}

bool AnyWindowInvalid() {
  for (const auto& [key, window] : Table().windows) {
    if (window->invalid) return true;
  }
  return false;
}

bool HasQueuedMessages() { return !GuiQueue().Empty(); }

bool IsShiftDown() { return Table().shiftDown; }

void ResetWindowManager() {
  Table().windows.clear();
  Table().focus = nullptr;
  Table().shiftDown = false;
  GuiQueue().Clear();
}

}  // namespace tv

using tv::FindWindowState;
using tv::Window;

HWND CreateDialogParamA(HINSTANCE, LPCSTR templateName, HWND parent, DLGPROC dialogProc,
                        LPARAM initParam) {
  const auto resourceId = reinterpret_cast<std::uintptr_t>(templateName);
  if (resourceId > 0xFFFF) return nullptr;  // only numeric resource ids exist here
  const tv::DialogTemplate* dialogTemplate = tv::FindDialogTemplate(static_cast<int>(resourceId));
  if (!dialogTemplate) return nullptr;
  // The program formats its labels with the C library, which on its own platform always
  // writes numbers the classic way. A toolkit may have adopted the user's locale at
  // start (Qt does), and a decimal comma would change the labels' bytes.
  std::setlocale(LC_NUMERIC, "C");

  auto dialogState = std::make_unique<Window>();
  dialogState->isDialog = true;
  dialogState->parent = parent;
  dialogState->style = dialogTemplate->style;
  dialogState->rect = tv::PixelRect(dialogTemplate->x, dialogTemplate->y, dialogTemplate->width,
                                    dialogTemplate->height);
  dialogState->text = std::string(dialogTemplate->caption);
  dialogState->dialogProc = dialogProc;
  dialogState->dialogTemplate = dialogTemplate;
  Window& dialog = tv::AddWindow(std::move(dialogState));
  dialog.surface.Resize(dialog.rect.right - dialog.rect.left, dialog.rect.bottom - dialog.rect.top,
                        tv::CurrentBackend().BackgroundColour());

  for (const tv::ControlTemplate& item : dialogTemplate->controls) {
    auto control = std::make_unique<Window>();
    control->parent = dialog.handle;
    control->id = item.id;
    control->kind = item.kind;
    control->style = item.style;
    control->rect = tv::PixelRect(item.x, item.y, item.width, item.height);
    control->text = std::string(item.text);
    dialog.children.push_back(tv::AddWindow(std::move(control)).handle);
  }
  const HWND handle = dialog.handle;
  tv::CurrentBackend().DialogCreated(handle);

  const INT_PTR focusDefault = tv::SendToDialog(dialog, WM_INITDIALOG, 0, initParam);
  Window* created = FindWindowState(handle);
  if (!created) return nullptr;  // destroyed during its own initialisation
  if (focusDefault) tv::SetFocusedControl(tv::FirstTabStop(*created));
  if (created->style & WS_VISIBLE) {
    created->invalid = true;
    created->eraseOnPaint = true;
  }
  return handle;
}

BOOL GetMessageA(MSG* msg, HWND, UINT, UINT) {
  if (!msg) return -1;
  for (;;) {
    if (auto next = tv::GuiQueue().Take()) {
      if (next->message == WM_QUIT) {
        *msg = *next;
        return FALSE;
      }
      // Messages to a window destroyed since they were queued are dropped.
      if (next->hwnd && !FindWindowState(next->hwnd)) continue;
      if (next->message == WM_KEYDOWN && next->wParam == VK_SHIFT) tv::Table().shiftDown = true;
      if (next->message == WM_KEYUP && next->wParam == VK_SHIFT) tv::Table().shiftDown = false;
      *msg = *next;
      return TRUE;
    }
    for (const auto& [key, window] : tv::Table().windows) {
      if (window->invalid) {
        *msg = MSG{window->handle, WM_PAINT, 0, 0, 0, {0, 0}};
        return TRUE;
      }
    }
    tv::CurrentBackend().WaitForEvents();
  }
}

BOOL TranslateMessage(const MSG*) { return FALSE; }

LRESULT DispatchMessageA(const MSG* msg) {
  if (!msg) return 0;
  Window* window = FindWindowState(msg->hwnd);
  if (!window) return 0;
  if (msg->message == WM_PAINT) {
    tv::PaintNow(*window);
    return 0;
  }
  if (window->isDialog) return tv::SendToDialog(*window, msg->message, msg->wParam, msg->lParam);
  // Controls: a completed click on a button.
  if (window->kind == tv::ControlKind::Button &&
      (msg->message == WM_LBUTTONUP || msg->message == tv::kInputClick)) {
    tv::ClickButton(*window);
  }
  return 0;
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Any thread may post; the window's existence is checked when the message is taken,
  // so that no other thread ever reads the window table.
  if (!window) return FALSE;
  tv::GuiQueue().Post(MSG{window, message, wParam, lParam, 0, {0, 0}});
  tv::CurrentBackend().WakeUp();
  return TRUE;
}

void PostQuitMessage(int exitCode) {
  tv::GuiQueue().PostQuit(exitCode);
  tv::CurrentBackend().WakeUp();
}

BOOL DestroyWindow(HWND handle) {
  Window* window = FindWindowState(handle);
  if (!window) return FALSE;
  if (window->isDialog) {
    tv::SendToDialog(*window, WM_DESTROY, 0, 0);
    if (!FindWindowState(handle)) return TRUE;  // destroyed from inside WM_DESTROY
    tv::CurrentBackend().DialogDestroyed(handle);
  }
  if (Window* parent = FindWindowState(window->parent)) {
    std::erase(parent->children, handle);
  }
  tv::DestroyWindowState(*FindWindowState(handle));
  return TRUE;
}

HWND GetDlgItem(HWND dialog, int controlId) {
  const Window* window = FindWindowState(dialog);
  if (!window) return nullptr;
  for (HWND child : window->children) {
    const Window* control = FindWindowState(child);
    if (control && control->id == controlId) return child;
  }
  return nullptr;
}

BOOL SetScrollRange(HWND handle, int bar, int minPos, int maxPos, BOOL) {
  Window* window = FindWindowState(handle);
  if (!window || bar != SB_CTL || window->kind != tv::ControlKind::ScrollBar) return FALSE;
  window->scrollMin = minPos;
  window->scrollMax = maxPos;
  window->scrollPos = std::clamp(window->scrollPos, std::min(minPos, maxPos), std::max(minPos, maxPos));
  tv::NotifyChanged(*window);
  return TRUE;
}

int SetScrollPos(HWND handle, int bar, int pos, BOOL) {
  Window* window = FindWindowState(handle);
  if (!window || bar != SB_CTL || window->kind != tv::ControlKind::ScrollBar) return 0;
  const int previous = window->scrollPos;
  window->scrollPos = std::clamp(pos, std::min(window->scrollMin, window->scrollMax),
                                 std::max(window->scrollMin, window->scrollMax));
  tv::NotifyChanged(*window);
  return previous;
}

BOOL SetWindowTextA(HWND handle, LPCSTR text) {
  Window* window = FindWindowState(handle);
  if (!window) return FALSE;
  window->text = tv::Cp932ToUtf8(text ? std::string_view(text) : std::string_view());
  if (window->isDialog) {
    tv::CurrentBackend().DialogChanged(handle);
  } else {
    tv::NotifyChanged(*window);
  }
  return TRUE;
}

BOOL GetClientRect(HWND handle, RECT* rect) {
  const Window* window = FindWindowState(handle);
  if (!window || !rect) return FALSE;
  *rect = RECT{0, 0, window->rect.right - window->rect.left, window->rect.bottom - window->rect.top};
  return TRUE;
}

BOOL InvalidateRect(HWND handle, const RECT*, BOOL erase) {
  // The whole client area is repainted whatever the rectangle.
  Window* window = tv::FindOwningDialog(handle);
  if (!window) return FALSE;
  window->invalid = true;
  window->eraseOnPaint = window->eraseOnPaint || erase;
  return TRUE;
}

BOOL UpdateWindow(HWND handle) {
  Window* window = FindWindowState(handle);
  if (!window) return FALSE;
  tv::PaintNow(*window);
  return TRUE;
}

HDC BeginPaint(HWND handle, PAINTSTRUCT* paint) {
  Window* window = FindWindowState(handle);
  if (!window || !window->isDialog || !paint) return nullptr;
  *paint = PAINTSTRUCT{};
  if (window->eraseOnPaint) window->surface.Fill(tv::CurrentBackend().BackgroundColour());
  paint->fErase = FALSE;  // erased here already
  paint->rcPaint = RECT{0, 0, window->surface.width, window->surface.height};
  window->invalid = false;
  window->eraseOnPaint = false;
  paint->hdc = tv::CreateRasterDC(window->surface);
  return paint->hdc;
}

BOOL EndPaint(HWND handle, const PAINTSTRUCT* paint) {
  Window* window = FindWindowState(handle);
  if (!window || !paint) return FALSE;
  tv::DeleteRasterDC(paint->hdc);
  tv::CurrentBackend().PaintEnded(handle, window->surface);
  return TRUE;
}

BOOL MessageBeep(UINT type) {
  tv::CurrentBackend().Beep(type);
  return TRUE;
}

// keyboard-probe: opens dialog 101 from the program's own resources with a dialog
// procedure that only records, types keys at it through SendInput, and writes down what
// the system's dialog manager did with each key: where the focus went, which radio
// buttons are checked, which WM_COMMAND messages arrived, and what IsDialogMessageW
// returned for each key message.
//
//   keyboard-probe target|dialog OUT
//
// "target" runs the message loop that passes each message's own target window to
// IsDialogMessageW as the dialog; "dialog" passes the dialog's handle.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kDialogResourceId = 101;

FILE* g_out = nullptr;
HWND g_dialog = nullptr;
bool g_passTarget = true;

// Written as it happens, so that a run that hangs still shows how far it came.
void Log(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), g_out);
  std::fflush(g_out);
}

INT_PTR CALLBACK RecordingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      Log(" command " + std::to_string(LOWORD(wParam)) + "/" + std::to_string(HIWORD(wParam)));
      return FALSE;
    case WM_CLOSE:
      DestroyWindow(dialog);
      return TRUE;
    case WM_DESTROY:
      PostQuitMessage(0);
      return TRUE;
    default:
      return FALSE;
  }
}

std::string ControlName(HWND window) {
  if (!window) return "none";
  if (window == g_dialog) return "dialog";
  return std::to_string(GetDlgCtrlID(window));
}

// Handles everything queued, as the program's message loop would, until the queue has
// been quiet for `quietMs` (or, should it never be, for at most five seconds).
void Pump(DWORD quietMs) {
  const ULONGLONG deadline = GetTickCount64() + 5000;
  while (GetTickCount64() < deadline) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return;
      const HWND dialogArgument = g_passTarget ? msg.hwnd : g_dialog;
      const BOOL consumed = IsDialogMessageW(dialogArgument, &msg);
      if (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_CHAR) {
        const char* kind = msg.message == WM_KEYDOWN ? "down" : msg.message == WM_KEYUP ? "up" : "char";
        Log(std::string(" [") + kind + " " + std::to_string(msg.wParam) + " to " +
            ControlName(msg.hwnd) + (consumed ? " consumed]" : " passed]"));
      }
      if (!consumed) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
    }
    if (MsgWaitForMultipleObjects(0, nullptr, FALSE, quietMs, QS_ALLINPUT) == WAIT_TIMEOUT) return;
  }
}

void Key(WORD key, bool shift) {
  std::vector<INPUT> inputs;
  auto add = [&inputs](WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  };
  if (shift) add(VK_SHIFT, false);
  add(key, false);
  add(key, true);
  if (shift) add(VK_SHIFT, true);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

std::string Checked() {
  std::string checked;
  for (HWND child = GetWindow(g_dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (SendMessageW(child, BM_GETCHECK, 0, 0) == BST_CHECKED) {
      checked += ' ';
      checked += ControlName(child);
    }
  }
  return checked.empty() ? " none" : checked;
}

void State() { Log("\n  focus " + ControlName(GetFocus()) + ", checked" + Checked() + "\n"); }

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (__argc != 3 || (std::string(__argv[1]) != "target" && std::string(__argv[1]) != "dialog")) {
    std::fprintf(stderr, "usage: keyboard-probe target|dialog OUT\n");
    return 2;
  }
  g_passTarget = std::string(__argv[1]) == "target";
  g_out = std::fopen(__argv[2], "wb");
  if (!g_out) return 1;
  g_dialog = CreateDialogParamW(instance, MAKEINTRESOURCEW(kDialogResourceId), nullptr,
                                RecordingDialogProc, 0);
  if (!g_dialog) {
    std::fprintf(stderr, "keyboard-probe: no dialog\n");
    return 1;
  }
  Log("created\n");
  SetForegroundWindow(g_dialog);
  Pump(1000);
  Log(std::string("IsDialogMessageW gets ") + (g_passTarget ? "the message's target" : "the dialog") +
      "\nstart (foreground " + ControlName(GetForegroundWindow()) + ")");
  State();

  struct Step {
    const char* name;
    WORD key;
    bool shift;
  };
  const Step steps[] = {
      {"Tab", VK_TAB, false},     {"Tab", VK_TAB, false},   {"Shift+Tab", VK_TAB, true},
      {"Space", VK_SPACE, false}, {"Enter", VK_RETURN, false}, {"Right", VK_RIGHT, false},
      {"Down", VK_DOWN, false},   {"Left", VK_LEFT, false},  {"Up", VK_UP, false},
      {"Escape", VK_ESCAPE, false},
  };
  for (const Step& step : steps) {
    Log(step.name);
    Key(step.key, step.shift);
    Pump(300);
    State();
  }
  // From a preset radio button: focus it by clicking it, then the arrows.
  const HWND sine = GetDlgItem(g_dialog, 1012);
  SendMessageW(sine, BM_CLICK, 0, 0);
  SetFocus(sine);
  Pump(300);
  Log("focus on 1012 (clicked)");
  State();
  const Step radioSteps[] = {
      {"Right", VK_RIGHT, false}, {"Left", VK_LEFT, false}, {"Down", VK_DOWN, false},
      {"Up", VK_UP, false},       {"Space", VK_SPACE, false}, {"Tab", VK_TAB, false},
  };
  for (const Step& step : radioSteps) {
    Log(step.name);
    Key(step.key, step.shift);
    Pump(300);
    State();
  }

  DestroyWindow(g_dialog);
  Log("end\n");
  std::fclose(g_out);
  return 0;
}

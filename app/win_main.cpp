#include "app/main_dialog.h"
#include "sound/wave_stream.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // Without its dialog the program has nothing to show and nothing that could end the
  // message loop, so it ends at once instead of waiting forever.
  const HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(kMainDialogResourceId),
                                         nullptr, MainDialogProc, 0);
  if (!dialog) return 0;
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0)) {
    // The dialog's own handle: given a control's (a key message's target), the dialog
    // manager treats the control as the dialog, and Tab, the arrows and Enter do nothing.
    if (!IsDialogMessageA(dialog, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  if (g_hWaveOut) CloseWaveOut();
  return 0;
}

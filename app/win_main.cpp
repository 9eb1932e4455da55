#include "app/main_dialog.h"
#include "sound/wave_stream.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // Without its dialog the program has nothing to show and nothing that could end the
  // message loop, so it ends at once instead of waiting forever.
  if (!CreateDialogParamA(instance, MAKEINTRESOURCEA(kMainDialogResourceId), nullptr,
                          MainDialogProc, 0)) {
    return 0;
  }
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0)) {
    if (!IsDialogMessageA(msg.hwnd, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  if (g_hWaveOut) CloseWaveOut();
  return 0;
}

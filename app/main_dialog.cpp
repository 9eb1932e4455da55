#include "app/main_dialog.h"

#include "app/buttons.h"
#include "app/sliders.h"
#include "display/waveform_panels.h"
#include "sound/wave_stream.h"

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      PostQuitMessage(0);
      return TRUE;
    case WM_PAINT:
      OnPaint(dialog);
      return TRUE;
    case WM_CLOSE:
      ResetWaveOut();
      DestroyWindow(dialog);
      return TRUE;
    case WM_INITDIALOG:
      return OnInitDialog(dialog);
    case WM_COMMAND:
      OnCommand(dialog, wParam);
      return FALSE;
    case WM_HSCROLL:
      OnHScroll(dialog, wParam, lParam);
      return FALSE;
    case MM_WOM_OPEN:
      return OnWaveOpen();
    case MM_WOM_CLOSE:
      return OnWaveClose();
    case MM_WOM_DONE:
      return OnWaveDone(reinterpret_cast<WAVEHDR*>(lParam));
    default:
      return FALSE;
  }
}

#include "display/waveform_panels.h"

int g_panelWidth = 0;
int g_panelHeight = 0;
float g_compositeTrace[kTraceSamples];

void OnPaint(HWND dialog) {
  PAINTSTRUCT paint;
  BeginPaint(dialog, &paint);
  EndPaint(dialog, &paint);
}

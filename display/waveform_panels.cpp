#include "display/waveform_panels.h"

#include <cfloat>
#include <cmath>

#include "app/int_conversion.h"
#include "app/tone_state.h"
#include "display/spectrum_panel.h"

int g_panelWidth = 0;
int g_panelHeight = 0;
float g_compositeTrace[kTraceSamples];

namespace {

constexpr COLORREF kGreenTracePen = 0x0000FF00;
constexpr COLORREF kYellowTracePen = 0x0000FFFF;
constexpr int kCompositeZeroRow = 520;

// "警告！　複合波が歪みました。音量を落として下さい。" in code page 932 (50 bytes).
const char kClippingWarning[] =
    "\x8C\x78\x8D\x90\x81\x49\x81\x40\x95\xA1\x8D\x87\x94\x67\x82\xAA\x98\x63\x82\xDD"
    "\x82\xDC\x82\xB5\x82\xBD\x81\x42\x89\xB9\x97\xCA\x82\xF0\x97\x8E\x82\xC6\x82\xB5"
    "\x82\xC4\x89\xBA\x82\xB3\x82\xA2\x81\x42";

// Rows are rounded toward zero. Nothing bounds the amplitudes (the volume button can
// raise them without limit), so a displacement beyond any screen is held at a million
// pixels, keeping the row arithmetic within int; a NaN displacement is drawn as none.
constexpr double kFarOffset = 1000000.0;
int TruncatedOffset(double pixels) {
  if (std::isnan(pixels)) return 0;
  if (pixels > kFarOffset) pixels = kFarOffset;
  if (pixels < -kFarOffset) pixels = -kFarOffset;
  return TruncateToInt(pixels);
}

// double to float with the rounding of the hardware conversion, which C++ leaves
// undefined beyond the float range: up to the midpoint between FLT_MAX and 2^128 the
// result is FLT_MAX, beyond it infinity.
float NarrowToFloat(double value) {
  constexpr double kOverflowMidpoint = 0x1.ffffffp+127;
  if (std::isnan(value) || std::fabs(value) <= FLT_MAX) return static_cast<float>(value);
  const float magnitude = std::fabs(value) < kOverflowMidpoint ? FLT_MAX : INFINITY;
  return value > 0 ? magnitude : -magnitude;
}

// Column of sample i in both the harmonic and the composite panels.
int TraceColumn(int i) {
  return 10 + TruncateToInt(static_cast<double>(g_panelWidth * i) / 128.0 + 0.5);
}

void DrawPanels(HDC hdc) {
  SelectObject(hdc, GetStockObject(BLACK_BRUSH));
  Rectangle(hdc, 10, 10, g_panelWidth + 10, 460);
  Rectangle(hdc, 10, 470, g_panelWidth + 10, 570);
  Rectangle(hdc, 300, 470, 500, 570);
}

// Each harmonic on its own zero line, summed into g_compositeTrace in float.
void DrawHarmonicTraces(HDC hdc) {
  const double scale = ((g_panelHeight * 0.5) * 0.5) * 0.9;
  for (int k = 1; k <= kHarmonicCount; ++k) {
    const int zeroRow = 50 + 40 * (k - 1);
    MoveToEx(hdc, g_panelWidth + 10, zeroRow, nullptr);
    LineTo(hdc, 10, zeroRow);
    for (int i = 0; i < kTraceSamples; ++i) {
      // 6.28, not 6.283185307 as in the tone generator: the traces have always been drawn
      // with it, so the last point of a period stops a little short of 2 pi.
      const double theta = ((i * 6.28) * k) * (1.0 / 128);
      const float value = NarrowToFloat(std::sin(theta) * g_amplitude[k - 1]);
      g_compositeTrace[i] = g_compositeTrace[i] + value;
      LineTo(hdc, TraceColumn(i), zeroRow - TruncatedOffset(scale * value));
    }
  }
}

// Draws the composite clamped to +-1; true when some sample lay strictly beyond.
bool DrawCompositeTrace(HDC hdc) {
  MoveToEx(hdc, g_panelWidth + 10, kCompositeZeroRow, nullptr);
  LineTo(hdc, 10, kCompositeZeroRow);
  bool clipped = false;
  for (int i = 0; i < kTraceSamples; ++i) {
    float value = g_compositeTrace[i];
    if (std::fabs(value) > 1.0f) {
      clipped = true;
      value = value > 0 ? 1.0f : -1.0f;
      g_compositeTrace[i] = value;
    }
    const int row = 470 + g_panelHeight / 2 - TruncatedOffset((g_panelHeight * 0.5) * value);
    LineTo(hdc, TraceColumn(i), row);
  }
  return clipped;
}

}  // namespace

void OnPaint(HWND hDlg) {
  PAINTSTRUCT paint;
  HDC hdc = BeginPaint(hDlg, &paint);
  g_panelWidth = 200;
  g_panelHeight = 100;
  DrawPanels(hdc);

  HPEN greenPen = CreatePen(PS_SOLID, 1, kGreenTracePen);
  HPEN yellowPen = CreatePen(PS_SOLID, 1, kYellowTracePen);
  HGDIOBJ previousPen = SelectObject(hdc, greenPen);
  for (float& sample : g_compositeTrace) sample = 0.0f;
  DrawHarmonicTraces(hdc);

  SelectObject(hdc, yellowPen);
  const bool clipped = DrawCompositeTrace(hdc);
  SetWindowTextA(GetDlgItem(hDlg, kWarningLabelId), clipped ? kClippingWarning : "");
  DrawSpectrum(hdc);

  SelectObject(hdc, previousPen);
  DeleteObject(greenPen);
  DeleteObject(yellowPen);
  EndPaint(hDlg, &paint);
}

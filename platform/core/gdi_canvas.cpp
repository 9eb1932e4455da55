// The drawing subset of the platform: device contexts bound to a raster, stock and
// solid pens, the black stock brush, Rectangle, MoveToEx and LineTo.
//
// Handles are numbers looked up in the tables below, never addresses of our objects, so
// a stale handle (a deleted pen, a released device context) is simply not found: the
// call fails and changes nothing. Numbers are never reused.
//
// Rules beyond the contract in win32_api.h:
// - Only solid one-pixel pens exist (PS_SOLID, width 0 or 1); other pens fail.
// - A pen or brush still selected into a live device context cannot be deleted:
//   DeleteObject returns FALSE and the object stays alive. Stock objects are never
//   deleted; DeleteObject on one returns TRUE and does nothing.
// - Rectangle normalises swapped corners; an empty rectangle draws nothing.
// - LineTo lights one pixel per step along the major axis (x when |dx| >= |dy|, so
//   exact diagonals step in x), starting at the current position and stopping before
//   the end point. At step i of M = max(|dx|, |dy|) steps the minor coordinate is the
//   exact one, start + i * dminor / M, rounded to the nearest pixel; a tie exactly
//   half-way between two pixels goes to the smaller coordinate, whichever way the line
//   runs: the upper pixel of a shallow line, the left pixel of a steep one. So
//   (0,0)->(4,2) lights (0,0) (1,0) (2,1) (3,1), and (4,2)->(0,0) lights (4,2) (3,1)
//   (2,1) (1,0): a line and its reverse differ only in their end pixels. This is the
//   rule the system's GDI follows (tests/canvas/gdi_lines.txt holds what it drew).
// - Pixels outside the raster are clipped; a line far outside costs nothing.
#include "platform/core/gdi_canvas.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <unordered_map>
#include <utility>

namespace {

// Platform numbers of the stock objects a device context uses.
constexpr int kWhiteBrush = 0;
constexpr int kWhitePen = 6;
constexpr int kBlackPen = 7;

enum class ObjectKind { Pen, Brush };

struct GdiObject {
  ObjectKind kind;
  tv::Rgb colour;
  bool stock;
};

struct DeviceContext {
  tv::Raster* target;
  std::uintptr_t pen;
  std::uintptr_t brush;
  POINT position;
};

// Stock objects have the fixed handles kStockHandleBase + their platform number.
constexpr std::uintptr_t kStockHandleBase = 0x100;
constexpr std::uintptr_t kFirstCreatedHandle = 0x1000;

struct CanvasTables {
  std::unordered_map<std::uintptr_t, GdiObject> objects;
  std::unordered_map<std::uintptr_t, DeviceContext> contexts;
  std::uintptr_t nextHandle = kFirstCreatedHandle;

  CanvasTables() {
    AddStock(kWhiteBrush, ObjectKind::Brush, tv::MakeRgb(255, 255, 255));
    AddStock(BLACK_BRUSH, ObjectKind::Brush, tv::MakeRgb(0, 0, 0));
    AddStock(kWhitePen, ObjectKind::Pen, tv::MakeRgb(255, 255, 255));
    AddStock(kBlackPen, ObjectKind::Pen, tv::MakeRgb(0, 0, 0));
  }
  void AddStock(int number, ObjectKind kind, tv::Rgb colour) {
    objects.emplace(kStockHandleBase + static_cast<std::uintptr_t>(number),
                    GdiObject{kind, colour, true});
  }
  std::uintptr_t NewHandle() { return nextHandle++; }
};

CanvasTables& Tables() {
  static CanvasTables tables;
  return tables;
}

std::uintptr_t HandleValue(const void* handle) { return reinterpret_cast<std::uintptr_t>(handle); }

template <typename Handle>
Handle MakeHandle(std::uintptr_t value) {
  return reinterpret_cast<Handle>(value);
}

DeviceContext* FindContext(HDC dc) {
  auto& contexts = Tables().contexts;
  const auto found = contexts.find(HandleValue(dc));
  return found == contexts.end() ? nullptr : &found->second;
}

const GdiObject* FindObject(std::uintptr_t handle) {
  const auto& objects = Tables().objects;
  const auto found = objects.find(handle);
  return found == objects.end() ? nullptr : &found->second;
}

tv::Rgb ColourOf(std::uintptr_t handle) { return FindObject(handle)->colour; }

// COLORREF is 0x00BBGGRR.
tv::Rgb FromColorref(COLORREF colour) {
  return tv::MakeRgb(static_cast<std::uint8_t>(colour & 0xFF),
                     static_cast<std::uint8_t>((colour >> 8) & 0xFF),
                     static_cast<std::uint8_t>((colour >> 16) & 0xFF));
}

bool IsSelectedSomewhere(std::uintptr_t object) {
  for (const auto& [handle, context] : Tables().contexts) {
    if (context.pen == object || context.brush == object) return true;
  }
  return false;
}

// Fills the half-open box [left, right) x [top, bottom), clipped to the raster.
void FillBox(tv::Raster& raster, std::int64_t left, std::int64_t top, std::int64_t right,
             std::int64_t bottom, tv::Rgb colour) {
  const std::int64_t x0 = std::max<std::int64_t>(left, 0);
  const std::int64_t x1 = std::min<std::int64_t>(right, raster.width);
  const std::int64_t y0 = std::max<std::int64_t>(top, 0);
  const std::int64_t y1 = std::min<std::int64_t>(bottom, raster.height);
  if (x0 >= x1) return;
  for (std::int64_t y = y0; y < y1; ++y) {
    const auto rowStart = raster.pixels.begin() + y * raster.width;
    std::fill(rowStart + x0, rowStart + x1, colour);
  }
}

// round(i * minorLength / steps) for 0 <= i < steps and minorLength <= steps < 2^33, a
// half rounded up when `halfUp`, else down. i * minorLength may need 66 bits, so it is
// divided by `steps` in two parts (i's bits from 16 up, then its low 16 bits), which
// keeps every intermediate value below 2^51.
std::int64_t RoundedMinorOffset(std::int64_t i, std::int64_t minorLength, std::int64_t steps,
                                bool halfUp) {
  const auto m = static_cast<std::uint64_t>(minorLength);
  const auto n = static_cast<std::uint64_t>(steps);
  const std::uint64_t high = static_cast<std::uint64_t>(i) >> 16;
  const std::uint64_t low = static_cast<std::uint64_t>(i) & 0xFFFF;
  std::uint64_t quotient = (high * m) / n;
  std::uint64_t remainder = (high * m) % n;
  quotient = (quotient << 16) + (remainder << 16) / n;
  remainder = (remainder << 16) % n + low * m;
  quotient += remainder / n;
  remainder %= n;
  // Now i * minorLength = quotient * steps + remainder, remainder < steps.
  const std::uint64_t bias = halfUp ? 0 : 1;
  return static_cast<std::int64_t>(quotient + (2 * remainder + n - bias) / (2 * n));
}

// The pixels of a line from `from` up to, not including, `to` (rule in the file comment).
void DrawLine(tv::Raster& raster, POINT from, POINT to, tv::Rgb colour) {
  const std::int64_t dx = std::int64_t{to.x} - from.x;
  const std::int64_t dy = std::int64_t{to.y} - from.y;
  const bool xMajor = std::llabs(dx) >= std::llabs(dy);
  const std::int64_t majorDelta = xMajor ? dx : dy;
  const std::int64_t minorDelta = xMajor ? dy : dx;
  const std::int64_t steps = std::llabs(majorDelta);
  if (steps == 0) return;
  const std::int64_t minorLength = std::llabs(minorDelta);
  const std::int64_t majorSign = majorDelta > 0 ? 1 : -1;
  const std::int64_t minorSign = minorDelta > 0 ? 1 : -1;
  const std::int64_t majorStart = xMajor ? from.x : from.y;
  const std::int64_t minorStart = xMajor ? from.y : from.x;
  const std::int64_t majorSize = xMajor ? raster.width : raster.height;

  // Only the steps whose major coordinate lies inside the raster can light a pixel.
  std::int64_t first = 0;
  std::int64_t last = steps - 1;
  if (majorSign > 0) {
    first = std::max(first, -majorStart);
    last = std::min(last, majorSize - 1 - majorStart);
  } else {
    first = std::max(first, majorStart - (majorSize - 1));
    last = std::min(last, majorStart);
  }
  for (std::int64_t i = first; i <= last; ++i) {
    const std::int64_t major = majorStart + majorSign * i;
    // A tie goes to the smaller coordinate: away from the start when the minor
    // coordinate falls, towards it when it rises.
    const std::int64_t minorOffset = RoundedMinorOffset(i, minorLength, steps, minorSign < 0);
    const std::int64_t minor = minorStart + minorSign * minorOffset;
    const std::int64_t x = xMajor ? major : minor;
    const std::int64_t y = xMajor ? minor : major;
    if (x >= 0 && y >= 0 && x < raster.width && y < raster.height) {
      raster.Set(static_cast<int>(x), static_cast<int>(y), colour);
    }
  }
}

}  // namespace

namespace tv {

HDC CreateRasterDC(Raster& target) {
  auto& tables = Tables();
  const std::uintptr_t handle = tables.NewHandle();
  tables.contexts.emplace(handle, DeviceContext{&target, kStockHandleBase + kBlackPen,
                                                kStockHandleBase + kWhiteBrush, POINT{0, 0}});
  return MakeHandle<HDC>(handle);
}

void DeleteRasterDC(HDC dc) { Tables().contexts.erase(HandleValue(dc)); }

int LiveDeviceContextCount() { return static_cast<int>(Tables().contexts.size()); }

int LivePenCount() {
  int count = 0;
  for (const auto& [handle, object] : Tables().objects) {
    if (object.kind == ObjectKind::Pen && !object.stock) ++count;
  }
  return count;
}

}  // namespace tv

HGDIOBJ GetStockObject(int object) {
  const std::uintptr_t handle = kStockHandleBase + static_cast<std::uintptr_t>(object);
  if (object < 0 || FindObject(handle) == nullptr) return nullptr;
  return MakeHandle<HGDIOBJ>(handle);
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  DeviceContext* context = FindContext(dc);
  const std::uintptr_t handle = HandleValue(object);
  const GdiObject* found = FindObject(handle);
  if (context == nullptr || found == nullptr) return nullptr;
  std::uintptr_t& slot = found->kind == ObjectKind::Pen ? context->pen : context->brush;
  const std::uintptr_t previous = slot;
  slot = handle;
  return MakeHandle<HGDIOBJ>(previous);
}

HPEN CreatePen(int style, int width, COLORREF colour) {
  if (style != PS_SOLID || width < 0 || width > 1) return nullptr;
  auto& tables = Tables();
  const std::uintptr_t handle = tables.NewHandle();
  tables.objects.emplace(handle, GdiObject{ObjectKind::Pen, FromColorref(colour), false});
  return MakeHandle<HPEN>(handle);
}

BOOL DeleteObject(HGDIOBJ object) {
  const std::uintptr_t handle = HandleValue(object);
  const GdiObject* found = FindObject(handle);
  if (found == nullptr) return FALSE;
  if (found->stock) return TRUE;
  if (IsSelectedSomewhere(handle)) return FALSE;
  Tables().objects.erase(handle);
  return TRUE;
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) {
  DeviceContext* context = FindContext(dc);
  if (context == nullptr) return FALSE;
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  if (right == left || bottom == top) return TRUE;
  tv::Raster& raster = *context->target;
  FillBox(raster, left, top, right, bottom, ColourOf(context->brush));
  const tv::Rgb pen = ColourOf(context->pen);
  const std::int64_t lastX = std::int64_t{right} - 1;
  const std::int64_t lastY = std::int64_t{bottom} - 1;
  FillBox(raster, left, top, right, top + std::int64_t{1}, pen);
  FillBox(raster, left, lastY, right, bottom, pen);
  FillBox(raster, left, top, left + std::int64_t{1}, bottom, pen);
  FillBox(raster, lastX, top, right, bottom, pen);
  return TRUE;
}

BOOL MoveToEx(HDC dc, int x, int y, POINT* previous) {
  DeviceContext* context = FindContext(dc);
  if (context == nullptr) return FALSE;
  if (previous != nullptr) *previous = context->position;
  context->position = POINT{x, y};
  return TRUE;
}

BOOL LineTo(HDC dc, int x, int y) {
  DeviceContext* context = FindContext(dc);
  if (context == nullptr) return FALSE;
  const POINT end{x, y};
  DrawLine(*context->target, context->position, end, ColourOf(context->pen));
  context->position = end;
  return TRUE;
}

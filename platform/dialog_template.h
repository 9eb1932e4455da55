// Dialog templates as plain data: the one source from which every backend builds the
// dialog (and the Windows build generates its resource script).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace tv {

enum class ControlKind { ScrollBar, Static, Button };

struct ControlTemplate {
  int id;             // -1 for a control the program never addresses
  ControlKind kind;
  std::uint32_t style;
  int x, y, width, height;  // dialog units
  std::string_view text;    // UTF-8; "\n" is a line feed; empty for none
};

struct DialogTemplate {
  int resourceId;
  std::uint16_t language;   // e.g. 0x0411
  std::uint32_t style;
  std::uint32_t exStyle;
  int x, y, width, height;  // dialog units
  std::string_view caption;       // UTF-8
  std::string_view fontFace;      // UTF-8
  int fontPointSize;
  int fontWeight;
  bool fontItalic;
  int fontCharset;
  std::span<const ControlTemplate> controls;  // template order = z-order = tab order
};

// Dialog units to pixels at 100 % scale: base units 7 x 12 pixels, rounded to nearest.
inline constexpr int kBaseUnitX = 7;
inline constexpr int kBaseUnitY = 12;
constexpr int DialogUnitsToPixelsX(int units) { return (units * kBaseUnitX * 2 + 4) / 8; }
constexpr int DialogUnitsToPixelsY(int units) { return (units * kBaseUnitY * 2 + 8) / 16; }

// Looks up a dialog template by resource id; null when there is none. Defined by the
// program that carries the resources.
const DialogTemplate* FindDialogTemplate(int resourceId);

}  // namespace tv

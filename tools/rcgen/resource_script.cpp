#include "tools/rcgen/resource_script.h"

#include <cstdio>
#include <string>

namespace tv::rcgen {

namespace {

std::string Hex(unsigned value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", digits, value);
  return text;
}

std::string Number(int value) { return std::to_string(value); }

// LANGUAGE takes the primary and sub-language of a language id separately.
std::string LanguageStatement(std::uint16_t language) {
  return "LANGUAGE " + Hex(language & 0x3FFu, 2) + ", " + Hex(language >> 10, 1);
}

std::string ControlStatement(const ControlTemplate& control) {
  return "    CONTROL " + QuoteResourceString(control.text) + ", " + Number(control.id) +
         ", " + QuoteResourceString(ControlClassName(control.kind)) + ", " +
         Hex(control.style, 8) + ", " + Number(control.x) + ", " + Number(control.y) +
         ", " + Number(control.width) + ", " + Number(control.height) + "\n";
}

}  // namespace

std::string_view ControlClassName(ControlKind kind) {
  switch (kind) {
    case ControlKind::ScrollBar:
      return "ScrollBar";
    case ControlKind::Static:
      return "Static";
    case ControlKind::Button:
      return "Button";
  }
  return "Static";
}

std::string QuoteResourceString(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    switch (c) {
      case '"':
        quoted += "\"\"";
        break;
      case '\\':
        quoted += "\\\\";
        break;
      case '\n':
        quoted += "\\n";
        break;
      default:
        quoted += c;
    }
  }
  quoted += '"';
  return quoted;
}

std::string ResourceScript(const DialogTemplate& dialog, const ResourceFiles& files) {
  std::string script;
  script += "// Written by tonvela-rcgen from the dialog template table; not to be edited.\n";
  script += "#pragma code_page(65001)\n\n";
  // The icon and the manifest serve every language; the dialog carries its own.
  script += LanguageStatement(0) + "\n";
  script += Number(kApplicationIconId) + " ICON " + QuoteResourceString(files.iconPath) + "\n";
  script += Number(kProcessManifestId) + " " + Number(kManifestResourceType) + " " +
            QuoteResourceString(files.manifestPath) + "\n\n";
  script += Number(dialog.resourceId) + " DIALOGEX " + Number(dialog.x) + ", " +
            Number(dialog.y) + ", " + Number(dialog.width) + ", " + Number(dialog.height) +
            "\n";
  script += LanguageStatement(dialog.language) + "\n";
  script += "STYLE " + Hex(dialog.style, 8) + "\n";
  script += "EXSTYLE " + Hex(dialog.exStyle, 8) + "\n";
  script += "CAPTION " + QuoteResourceString(dialog.caption) + "\n";
  script += "FONT " + Number(dialog.fontPointSize) + ", " +
            QuoteResourceString(dialog.fontFace) + ", " + Number(dialog.fontWeight) + ", " +
            Number(dialog.fontItalic ? 1 : 0) + ", " + Number(dialog.fontCharset) + "\n";
  script += "BEGIN\n";
  for (const ControlTemplate& control : dialog.controls) script += ControlStatement(control);
  script += "END\n";
  return script;
}

}  // namespace tv::rcgen

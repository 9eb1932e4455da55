#include "tools/rcgen/resource_script.h"

#include <charconv>
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

// FILEVERSION and PRODUCTVERSION take the four numbers separated by commas.
std::string VersionNumbers(const std::array<std::uint16_t, 4>& numbers) {
  return Number(numbers[0]) + ", " + Number(numbers[1]) + ", " + Number(numbers[2]) + ", " +
         Number(numbers[3]);
}

std::string VersionStatement(const VersionInfo& version, std::uint16_t language) {
  const std::optional<std::array<std::uint16_t, 4>> numbers = ParseFileVersion(version.version);
  const std::string binary = VersionNumbers(numbers.value_or(std::array<std::uint16_t, 4>{}));
  const std::string internalName = version.fileName.substr(0, version.fileName.rfind('.'));
  // The string table of the dialog's language in UTF-16 (code page 1200).
  const std::string table = Hex(language, 4).substr(2) + "04B0";
  const auto value = [](std::string_view name, const std::string& text) {
    return "            VALUE " + QuoteResourceString(name) + ", " + QuoteResourceString(text) +
           "\n";
  };
  std::string script;
  script += Number(kVersionResourceId) + " VERSIONINFO\n";
  script += "FILEVERSION " + binary + "\n";
  script += "PRODUCTVERSION " + binary + "\n";
  script += "FILEFLAGSMASK 0x0000003F\n";
  script += "FILEFLAGS 0x00000000\n";
  script += "FILEOS 0x00040004\n";    // VOS_NT_WINDOWS32
  script += "FILETYPE 0x00000001\n";  // VFT_APP
  script += "FILESUBTYPE 0x00000000\n";
  script += "BEGIN\n";
  script += "    BLOCK \"StringFileInfo\"\n";
  script += "    BEGIN\n";
  script += "        BLOCK " + QuoteResourceString(table) + "\n";
  script += "        BEGIN\n";
  script += value("FileDescription", version.description);
  script += value("FileVersion", version.version);
  script += value("InternalName", internalName);
  script += value("OriginalFilename", version.fileName);
  script += value("ProductName", version.productName);
  script += value("ProductVersion", version.version);
  script += "        END\n";
  script += "    END\n";
  script += "    BLOCK \"VarFileInfo\"\n";
  script += "    BEGIN\n";
  script += "        VALUE \"Translation\", " + Hex(language, 4) + ", 1200\n";
  script += "    END\n";
  script += "END\n";
  return script;
}

}  // namespace

std::optional<std::array<std::uint16_t, 4>> ParseFileVersion(std::string_view version) {
  std::array<std::uint16_t, 4> numbers{};
  std::size_t count = 0;
  const char* at = version.data();
  const char* const end = version.data() + version.size();
  while (true) {
    if (count == numbers.size() || at == end || *at < '0' || *at > '9') return std::nullopt;
    const auto [next, error] = std::from_chars(at, end, numbers[count]);
    if (error != std::errc{}) return std::nullopt;  // not a number, or above 65535
    ++count;
    at = next;
    if (at == end) return numbers;
    if (*at != '.') return std::nullopt;
    ++at;
  }
}

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

std::string ResourceScript(const DialogTemplate& dialog, const ResourceFiles& files,
                           const VersionInfo& version) {
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
  script += "END\n\n";
  script += LanguageStatement(dialog.language) + "\n";
  script += VersionStatement(version, dialog.language);
  return script;
}

}  // namespace tv::rcgen

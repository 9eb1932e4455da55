// The Windows resource script of the program, written from the dialog template table:
// dialog 101, the application icon, the manifest and the version resource.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/dialog_template.h"

namespace tv::rcgen {

struct ResourceFiles {
  std::string iconPath;      // the .ico with every image of the application icon
  std::string manifestPath;  // the application manifest
};

// What the file properties of the executable show.
struct VersionInfo {
  std::string version;      // dotted, as the build names it: "2019.05.10"
  std::string productName;  // "Tonvela"
  std::string description;  // one line saying what the program is
  std::string fileName;     // the executable's name as shipped: "tonvela.exe"
};

// RT_MANIFEST, and the manifest id that the loader reads for an .exe.
inline constexpr int kManifestResourceType = 24;
inline constexpr int kProcessManifestId = 1;
inline constexpr int kApplicationIconId = 1;
inline constexpr int kVersionResourceId = 1;

// The four 16-bit numbers of a binary file version from a dotted version of one to four
// decimal numbers ("2019.05.10" gives 2019, 5, 10, 0); nothing for anything else.
std::optional<std::array<std::uint16_t, 4>> ParseFileVersion(std::string_view version);

// A UTF-8 resource script (#pragma code_page(65001)) that resource compilers read into
// UTF-16 resources. `version.version` must be one that ParseFileVersion accepts.
std::string ResourceScript(const DialogTemplate& dialog, const ResourceFiles& files,
                           const VersionInfo& version);

// `text` as a resource-script string literal: quotes doubled, backslash and line feed
// escaped, every other byte (UTF-8 included) as it is.
std::string QuoteResourceString(std::string_view text);

// The window class a CONTROL statement names for each kind of control.
std::string_view ControlClassName(ControlKind kind);

}  // namespace tv::rcgen

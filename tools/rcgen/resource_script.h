// The Windows resource script of the program, written from the dialog template table:
// dialog 101, the application icon and the manifest.
#pragma once

#include <string>
#include <string_view>

#include "platform/dialog_template.h"

namespace tv::rcgen {

struct ResourceFiles {
  std::string iconPath;      // the .ico with every image of the application icon
  std::string manifestPath;  // the application manifest
};

// RT_MANIFEST, and the manifest id that the loader reads for an .exe.
inline constexpr int kManifestResourceType = 24;
inline constexpr int kProcessManifestId = 1;
inline constexpr int kApplicationIconId = 1;

// A UTF-8 resource script (#pragma code_page(65001)) that resource compilers read into
// UTF-16 resources.
std::string ResourceScript(const DialogTemplate& dialog, const ResourceFiles& files);

// `text` as a resource-script string literal: quotes doubled, backslash and line feed
// escaped, every other byte (UTF-8 included) as it is.
std::string QuoteResourceString(std::string_view text);

// The window class a CONTROL statement names for each kind of control.
std::string_view ControlClassName(ControlKind kind);

}  // namespace tv::rcgen

// Saving a raster as a PNG file.
#pragma once

#include <string>

#include "platform/core/raster.h"

namespace tv {

// Writes an 8-bit RGB PNG. False with a message in `error` when the file cannot be
// written; no partial file is left behind.
bool WritePng(const Raster& raster, const std::string& path, std::string* error);

}  // namespace tv

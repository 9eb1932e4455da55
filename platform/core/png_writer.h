// Saving a raster as a PNG file.
#pragma once

#include <string>
#include <vector>

#include "platform/core/raster.h"

namespace tv {

// Writes an 8-bit RGB PNG. False with a message in `error` when the file cannot be
// written; no partial file is left behind.
bool WritePng(const Raster& raster, const std::string& path, std::string* error);

// The same image as the bytes of a PNG file. False with a message in `error` when the
// raster is empty or cannot be encoded.
bool EncodePng(const Raster& raster, std::vector<unsigned char>* bytes, std::string* error);

}  // namespace tv

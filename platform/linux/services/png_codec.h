// PNG decoding and encoding over libpng: services/png_codec.h, and writing a decoded picture.
#pragma once
#include <string>

#include "services/png_codec.h"

namespace orelog {

// Writes the picture as a 24-bit RGB PNG; false when the file cannot be written.
bool writePngFile(const Image& image, const std::string& path);

}  // namespace orelog

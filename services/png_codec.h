// PNG decoding and encoding, which each front end's services provide (libpng on Linux, GDI+ on
// Windows).
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "util/pixels.h"

namespace orelog {

// Decodes any PNG into an opaque image; nullopt when the data is not a readable PNG.
std::optional<Image> decodePngBytes(std::span<const uint8_t> bytes);
// Writes the canvas as a PNG; false when the file cannot be written. The path is UTF-8.
bool writePngFile(const Canvas& canvas, const std::string& path);

}  // namespace orelog

// PNG decoding and encoding over libpng.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "ui/canvas.h"

namespace orelog {

// Decodes any PNG into an opaque image; nullopt when the data is not a readable PNG.
std::optional<Image> decodePngBytes(std::span<const uint8_t> bytes);
// Writes the canvas as a 24-bit RGB PNG; false when the file cannot be written.
bool writePngFile(const Canvas& canvas, const std::string& path);
bool writePngFile(const Image& image, const std::string& path);

}  // namespace orelog

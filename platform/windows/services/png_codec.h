// PNG decoding and encoding over GDI+.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "ui/canvas.h"

namespace orelog {

// Starts GDI+ once for the whole process (it is shut down when the process ends); false when it
// cannot start. The codec functions below start it themselves.
bool startGdiplus();

// Decodes any PNG into an opaque image; nullopt when the data is not a readable PNG.
std::optional<Image> decodePngBytes(std::span<const uint8_t> bytes);
// Writes the canvas as a PNG with the "image/png" encoder; false when the file cannot be written.
// The path is UTF-8.
bool writePngFile(const Canvas& canvas, const std::string& path);

}  // namespace orelog

// Writes and reads opaque 8-bit RGB PNG files with libpng.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orelog::sheetgen {

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;  // packed rows, 3 bytes a pixel
};

// The same pixels always give the same bytes. False when the file cannot be written.
bool writeRgbPng(const std::string& path, const RgbImage& image);
// Any PNG libpng reads, expanded to 8-bit RGB (alpha dropped); nullopt when it cannot be read.
std::optional<RgbImage> readRgbPng(const std::string& path);

}  // namespace orelog::sheetgen

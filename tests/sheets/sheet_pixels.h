// Reading the committed sheets in the tests: pixels as packed RGB, compared as whole pixels.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "png_file.h"
#include "tests/support/test_paths.h"

namespace orelog::sheetgen {

struct SheetPixels {
  RgbImage colour, mask;
};

inline uint32_t pixelAt(const RgbImage& image, int x, int y) {
  const std::size_t at = (static_cast<std::size_t>(y) * image.width + x) * 3;
  return (uint32_t{image.rgb[at]} << 16) | (uint32_t{image.rgb[at + 1]} << 8) | image.rgb[at + 2];
}

inline std::optional<SheetPixels> readSheets(const std::string& colourPath, const std::string& maskPath) {
  auto colour = readRgbPng(colourPath);
  auto mask = readRgbPng(maskPath);
  if (!colour || !mask) return std::nullopt;
  return SheetPixels{std::move(*colour), std::move(*mask)};
}

inline std::optional<SheetPixels> readCommittedSheets() {
  return readSheets(test::sourcePath("res/sheet-colour.png"), test::sourcePath("res/sheet-mask.png"));
}

}  // namespace orelog::sheetgen

// Small synthetic sprite sheets for the drawing tests.
#pragma once
#include "ui/canvas.h"
#include "util/geometry.h"

namespace orelog::testing {

inline constexpr Pixel kWhite = rgb(255, 255, 255);
inline constexpr Pixel kBlack = rgb(0, 0, 0);

// Two blank sheets: colour all white, mask all black (no picture anywhere).
inline SpriteSheets blankSheets(int width, int height) {
  SpriteSheets sheets;
  sheets.colour = Image{width, height, std::vector<Pixel>(static_cast<std::size_t>(width) * height, kWhite)};
  sheets.mask = Image{width, height, std::vector<Pixel>(static_cast<std::size_t>(width) * height, kBlack)};
  return sheets;
}

inline Pixel& pixelOf(Image& image, int x, int y) {
  return image.pixels[static_cast<std::size_t>(y) * image.width + x];
}

// A picture filling the region: mask white, colour from `colourAt(dx, dy)`.
template <typename ColourAt>
void paintPicture(SpriteSheets& sheets, const SpriteRegion& region, ColourAt colourAt) {
  for (int dy = 0; dy < region.height; ++dy)
    for (int dx = 0; dx < region.width; ++dx) {
      pixelOf(sheets.mask, region.x + dx, region.y + dy) = kWhite;
      pixelOf(sheets.colour, region.x + dx, region.y + dy) = colourAt(dx, dy);
    }
}

inline Canvas filledCanvas(Pixel colour, int width = kCanvasWidth, int height = kCanvasHeight) {
  Canvas canvas = makeCanvas(width, height);
  for (Pixel& p : canvas.storage) p = colour;
  return canvas;
}

}  // namespace orelog::testing

// One picture bound for the sprite sheets: its pixels, where it goes, and where it was written.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace orelog::sheetgen {

struct ArtPixel {
  uint8_t r = 255, g = 255, b = 255;
  bool filled = false;  // false: transparent, not part of the picture's silhouette
};

struct Picture {
  std::string name;
  std::string source;  // file the picture came from, or "<drawn>" for the code-drawn ones
  int line = 0;        // line of its "picture" header in that file
  int x = 0, y = 0, width = 0, height = 0;
  std::vector<ArtPixel> pixels;  // row-major, width * height

  ArtPixel& at(int px, int py) { return pixels[static_cast<std::size_t>(py) * width + px]; }
  const ArtPixel& at(int px, int py) const { return pixels[static_cast<std::size_t>(py) * width + px]; }
};

// A transparent picture of the given size at (x, y).
Picture blankPicture(std::string name, int x, int y, int width, int height);

}  // namespace orelog::sheetgen

// Canvases for the pixel-identity tests: noise to draw over, and the first pixel two canvases differ in.
#pragma once
#include <cstdint>
#include <random>
#include <string>

#include "ui/canvas.h"

namespace orelog::testing {

// Random colours with the top byte clear, as every page leaves the canvas.
inline Canvas noiseCanvas(uint32_t seed) {
  Canvas canvas = makeCanvas();
  std::mt19937 random(seed);
  for (Pixel& p : canvas.storage) p = random() & 0x00ffffffu;
  return canvas;
}

// The first differing pixel, for a readable failure; empty when the canvases agree.
inline std::string firstDifference(const Canvas& actual, const Canvas& expected) {
  for (int y = 0; y < actual.height; ++y)
    for (int x = 0; x < actual.width; ++x)
      if (actual.at(x, y) != expected.at(x, y))
        return "first difference at " + std::to_string(x) + ", " + std::to_string(y);
  return "";
}

}  // namespace orelog::testing

// Points, rectangles and sprite regions in game-screen pixels, with the half-open hit test.
#pragma once
#include <cstdint>

namespace orelog {

// left, top, width, height
struct Rect {
  int32_t x = 0, y = 0, width = 0, height = 0;
};

// A point, such as a picture's top-left corner.
struct Point {
  int32_t x = 0, y = 0;
};

// A rectangle that is the same on the colour sheet and the mask sheet.
struct SpriteRegion {
  int32_t x = 0, y = 0, width = 0, height = 0;
};

constexpr bool contains(const Rect& r, int32_t px, int32_t py) {
  return r.x <= px && px < r.x + r.width && r.y <= py && py < r.y + r.height;
}

// Strict on every edge: rectangles that only touch do not overlap.
constexpr bool overlaps(const Rect& a, const Rect& b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

}  // namespace orelog

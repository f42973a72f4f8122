// Pixels, the pixel surface (a canvas) that pages are composed on and front ends copy to a window,
// and decoded pictures.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace orelog {

// 0x00RRGGBB: the layout of a Windows 32-bit DIB and of cairo's RGB24, so front ends copy it as is.
using Pixel = uint32_t;

constexpr Pixel rgb(uint8_t r, uint8_t g, uint8_t b) {
  return (Pixel{r} << 16) | (Pixel{g} << 8) | Pixel{b};
}
constexpr uint8_t red(Pixel p) {
  return static_cast<uint8_t>(p >> 16);
}
constexpr uint8_t green(Pixel p) {
  return static_cast<uint8_t>(p >> 8);
}
constexpr uint8_t blue(Pixel p) {
  return static_cast<uint8_t>(p);
}

// A pixel surface. Its memory is its own, or supplied by a front end (a DIB section, a cairo
// image surface); stride counts pixels per row.
struct Canvas {
  Canvas() = default;
  // A copy always owns its pixels, so it never aliases (or outlives) the memory of the original.
  Canvas(const Canvas& other);
  Canvas& operator=(const Canvas& other);
  Canvas(Canvas&& other) noexcept;
  Canvas& operator=(Canvas&& other) noexcept;

  int width = 0;
  int height = 0;
  int stride = 0;
  Pixel* pixels = nullptr;
  std::vector<Pixel> storage;

  Pixel& at(int x, int y) { return pixels[y * stride + x]; }
  Pixel at(int x, int y) const { return pixels[y * stride + x]; }
};

// A decoded, fully opaque picture (a sprite sheet).
struct Image {
  int width = 0;
  int height = 0;
  std::vector<Pixel> pixels;  // row-major, stride = width

  Pixel at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// A canvas with its own memory, filled with black.
Canvas makeCanvas(int width, int height);
// A canvas over memory the caller keeps alive.
Canvas wrapCanvas(Pixel* memory, int width, int height, int stride);

}  // namespace orelog

// The 520 x 300 off-screen picture every page is composed on, and decoded sheet images.
#pragma once
#include <cstdint>
#include <vector>

namespace orelog {

inline constexpr int kCanvasWidth = 520;
inline constexpr int kCanvasHeight = 300;

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

// A canvas with its own memory, filled with black.
Canvas makeCanvas(int width = kCanvasWidth, int height = kCanvasHeight);
// A canvas over memory the caller keeps alive.
Canvas wrapCanvas(Pixel* memory, int width, int height, int stride);

// A decoded, fully opaque picture (a sprite sheet).
struct Image {
  int width = 0;
  int height = 0;
  std::vector<Pixel> pixels;  // row-major, stride = width

  Pixel at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// How a sprite copy treats a run of sheet pixels: the canvas stays (mask black, colour white), the
// colour replaces it (every colour bit is set in the mask), or both combine pixel by pixel.
enum class RunKind : uint8_t { Keep, Replace, Combine };

// For every sheet pixel, the kind of the run it lies in and how many pixels of that run remain
// from it (a run longer than a cell can count continues in the cell after). Built by
// indexSheetRuns (ui/sheet_runs.h) from the finished sheets; empty until then.
struct SheetRuns {
  int width = 0;
  int height = 0;
  std::vector<uint16_t> cells;  // kind << 14 | remaining length, row-major
};

struct SpriteSheets {
  Image colour;      // pictures in colour, white wherever no picture has a pixel
  Image mask;        // white on picture pixels, black elsewhere
  SheetRuns runs{};  // lets sprite copies skip empty pixels and copy solid ones plainly
};

}  // namespace orelog

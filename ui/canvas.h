// The 520 x 300 off-screen picture every page is composed on, and the sprite sheets compiled for it.
#pragma once
#include <cstdint>
#include <vector>

#include "util/geometry.h"
#include "util/pixels.h"

namespace orelog {

inline constexpr int kCanvasWidth = 520;
inline constexpr int kCanvasHeight = 300;

// The page canvas, 520 x 300 and filled with black.
inline Canvas makeCanvas() {
  return makeCanvas(kCanvasWidth, kCanvasHeight);
}

// How a sprite copy treats a run of sheet pixels it changes: the colour replaces the canvas
// (every colour bit is set in the mask), or both combine pixel by pixel.
enum class RunKind : uint8_t { Replace, Combine };

// Columns [start, end) of one row of a compiled sprite, all of one kind. Its pixels lie packed in
// SheetRuns::pixels from `pixels` on: the colours of a replacing run; the masks and then the
// colours of a combined one.
struct SpriteRun {
  uint16_t start = 0;
  uint16_t end = 0;
  RunKind kind = RunKind::Replace;
  uint32_t pixels = 0;
};

// One row of a compiled sprite: its runs start at `firstRun` and end where the next row's start.
// A row that repeats the one above it replaces every pixel with the same colours.
struct SpriteRow {
  uint32_t firstRun = 0;
  bool repeatsAbove = false;
};

// A sheet region compiled into rows of runs; its rows start at `firstRow` in SheetRuns::rows.
struct CompiledSprite {
  SpriteRegion region;
  uint32_t firstRow = 0;
};

// The pictures of the sheets compiled into runs of the pixels a sprite copy changes; the pixels
// between runs leave the canvas as it is (mask black, colour white) and are never read. Built by
// indexSheetRuns (ui/sheet_runs.h) from the finished sheets; empty until then.
struct SheetRuns {
  int width = 0;  // the sheets compiled from
  int height = 0;
  // Open addressing by the region's top-left corner; free slots have no width.
  std::vector<CompiledSprite> sprites;
  std::vector<SpriteRow> rows;  // with one more at the end, where the last row's runs end
  std::vector<SpriteRun> runs;
  std::vector<Pixel> pixels;
};

struct SpriteSheets {
  Image colour;      // pictures in colour, white wherever no picture has a pixel
  Image mask;        // white on picture pixels, black elsewhere
  SheetRuns runs{};  // lets sprite copies skip empty pixels and copy solid ones plainly
};

}  // namespace orelog

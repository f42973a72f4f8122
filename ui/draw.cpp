// The drawing primitives: sprite copy through the mask, solid fills and the tiled panel frame.
#include "ui/draw.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "ui/sprite_regions.h"

namespace orelog {

namespace {

// The frame's corner pieces and edge thickness, and the tile size of its edges and centre.
constexpr int kFrameBorder = 5;
constexpr int kFrameTile = 32;
constexpr int kFrameMinimum = 2 * kFrameBorder;
// Frames further out than this (in position or size) are not drawn, so no coordinate overflows.
constexpr int kFrameCoordinateLimit = 1 << 20;

// The rows and columns both sheets really hold (an image whose vector is short counts only the
// rows it fully holds).
struct SheetExtent {
  int width = 0;
  int height = 0;
};

int fullRows(const Image& image) {
  if (image.width <= 0 || image.height <= 0) return 0;
  const std::size_t rowsHeld = image.pixels.size() / static_cast<std::size_t>(image.width);
  return static_cast<int>(std::min<std::size_t>(rowsHeld, static_cast<std::size_t>(image.height)));
}

SheetExtent sheetExtent(const SpriteSheets& sheets) {
  return {std::max(0, std::min(sheets.colour.width, sheets.mask.width)),
          std::min(fullRows(sheets.colour), fullRows(sheets.mask))};
}

// One axis of a copy: the source start, destination start and length left after clipping the
// source to [0, sourceLimit) and the destination to [0, destLimit).
struct Span1D {
  int source = 0;
  int dest = 0;
  int length = 0;
};

Span1D clipSpan(int source, int dest, int length, int sourceLimit, int destLimit) {
  // Work in 64 bits so regions near the int limits cannot overflow.
  int64_t s = source, d = dest, n = length;
  const int64_t skip = std::max<int64_t>({0, -s, -d});
  s += skip;
  d += skip;
  n -= skip;
  n = std::min({n, sourceLimit - s, destLimit - d});
  if (n <= 0) return {};
  return {static_cast<int>(s), static_cast<int>(d), static_cast<int>(n)};
}

// One row of the sprite copy. Whole blocks of a fixed size let the compiler use vector
// instructions at -O2 without alias checks; the block goes through a small buffer and is stored at once.
constexpr int kBlockPixels = 8;

void copyRowThroughMask(Pixel* dest, const Pixel* mask, const Pixel* colour, int length) {
  int i = 0;
  for (; i + kBlockPixels <= length; i += kBlockPixels) {
    Pixel block[kBlockPixels];
    for (int k = 0; k < kBlockPixels; ++k) block[k] = (dest[i + k] | mask[i + k]) & colour[i + k];
    std::memcpy(dest + i, block, sizeof block);
  }
  for (; i < length; ++i) dest[i] = (dest[i] | mask[i]) & colour[i];
}

}  // namespace

void drawSprite(Canvas& canvas, const SpriteSheets& sheets, int x, int y, const SpriteRegion& region) {
  const SheetExtent sheet = sheetExtent(sheets);
  const Span1D cols = clipSpan(region.x, x, region.width, sheet.width, canvas.width);
  const Span1D rows = clipSpan(region.y, y, region.height, sheet.height, canvas.height);
  if (cols.length == 0 || rows.length == 0) return;

  const std::size_t sheetStride = static_cast<std::size_t>(sheets.colour.width);
  const std::size_t maskStride = static_cast<std::size_t>(sheets.mask.width);
  for (int r = 0; r < rows.length; ++r) {
    const std::size_t sheetRow = static_cast<std::size_t>(rows.source + r);
    const Pixel* colour = sheets.colour.pixels.data() + sheetRow * sheetStride + cols.source;
    const Pixel* mask = sheets.mask.pixels.data() + sheetRow * maskStride + cols.source;
    Pixel* dest = canvas.pixels + static_cast<std::ptrdiff_t>(rows.dest + r) * canvas.stride + cols.dest;
    copyRowThroughMask(dest, mask, colour, cols.length);
  }
}

void fillRect(Canvas& canvas, int left, int top, int right, int bottom, Pixel colour) {
  const int x0 = std::max(left, 0);
  const int y0 = std::max(top, 0);
  const int x1 = std::min(right, canvas.width);
  const int y1 = std::min(bottom, canvas.height);
  if (x0 >= x1 || y0 >= y1) return;
  // The first row is filled pixel by pixel and copied into the others, which is several times
  // faster than filling every row with a 32-bit value.
  Pixel* first = canvas.pixels + static_cast<std::ptrdiff_t>(y0) * canvas.stride + x0;
  std::fill(first, first + (x1 - x0), colour);
  const std::size_t rowBytes = static_cast<std::size_t>(x1 - x0) * sizeof(Pixel);
  for (int y = y0 + 1; y < y1; ++y)
    std::memcpy(canvas.pixels + static_cast<std::ptrdiff_t>(y) * canvas.stride + x0, first, rowBytes);
}

namespace {

bool withinLimit(int v) { return v >= -kFrameCoordinateLimit && v <= kFrameCoordinateLimit; }

// The top-left width x height of a piece (cut pieces always keep their top-left part).
SpriteRegion cut(const SpriteRegion& piece, int width, int height) {
  return {piece.x, piece.y, std::min(width, piece.width), std::min(height, piece.height)};
}

struct FrameGrid {
  int x, y, w, h;
  int nx, rw, ny, rh;
  int rightX() const { return x + w - kFrameBorder; }
  int bottomY() const { return y + h - kFrameBorder; }
  int columnX(int i) const { return x + kFrameBorder + kFrameTile * i; }
  int rowY(int j) const { return y + kFrameBorder + kFrameTile * j; }
};

void drawFrameCorners(Canvas& canvas, const SpriteSheets& sheets, const FrameGrid& g) {
  drawSprite(canvas, sheets, g.x, g.y, sprites::kFrameTopLeft);
  drawSprite(canvas, sheets, g.rightX(), g.y, sprites::kFrameTopRight);
  drawSprite(canvas, sheets, g.rightX(), g.bottomY(), sprites::kFrameBottomRight);
  drawSprite(canvas, sheets, g.x, g.bottomY(), sprites::kFrameBottomLeft);
}

void drawFullColumns(Canvas& canvas, const SpriteSheets& sheets, const FrameGrid& g) {
  for (int i = 0; i < g.nx; ++i) {
    const int cx = g.columnX(i);
    drawSprite(canvas, sheets, cx, g.y, sprites::kFrameTop);
    drawSprite(canvas, sheets, cx, g.bottomY(), sprites::kFrameBottom);
    for (int j = 0; j < g.ny; ++j) drawSprite(canvas, sheets, cx, g.rowY(j), sprites::kFrameCentre);
    drawSprite(canvas, sheets, cx, g.rowY(g.ny), cut(sprites::kFrameCentre, kFrameTile, g.rh));
  }
}

void drawPartialColumn(Canvas& canvas, const SpriteSheets& sheets, const FrameGrid& g) {
  const int cx = g.columnX(g.nx);
  drawSprite(canvas, sheets, cx, g.y, cut(sprites::kFrameTop, g.rw, kFrameBorder));
  drawSprite(canvas, sheets, cx, g.bottomY(), cut(sprites::kFrameBottom, g.rw, kFrameBorder));
  for (int j = 0; j < g.ny; ++j) {
    const int cy = g.rowY(j);
    drawSprite(canvas, sheets, g.rightX(), cy, sprites::kFrameRight);
    drawSprite(canvas, sheets, g.x, cy, sprites::kFrameLeft);
    drawSprite(canvas, sheets, cx, cy, cut(sprites::kFrameCentre, g.rw, kFrameTile));
  }
}

void drawPartialRow(Canvas& canvas, const SpriteSheets& sheets, const FrameGrid& g) {
  const int cy = g.rowY(g.ny);
  drawSprite(canvas, sheets, g.rightX(), cy, cut(sprites::kFrameRight, kFrameBorder, g.rh));
  drawSprite(canvas, sheets, g.x, cy, cut(sprites::kFrameLeft, kFrameBorder, g.rh));
  drawSprite(canvas, sheets, g.columnX(g.nx), cy, cut(sprites::kFrameCentre, g.rw, g.rh));
}

}  // namespace

void drawPanelFrame(Canvas& canvas, const SpriteSheets& sheets, int x, int y, int w, int h) {
  // Below 10 x 10 the corners would overlap; such a frame is not drawn at all.
  if (w < kFrameMinimum || h < kFrameMinimum) return;
  if (!withinLimit(x) || !withinLimit(y) || w > kFrameCoordinateLimit || h > kFrameCoordinateLimit) return;
  const int innerW = w - kFrameMinimum;
  const int innerH = h - kFrameMinimum;
  const FrameGrid grid{x, y, w, h, innerW / kFrameTile, innerW % kFrameTile, innerH / kFrameTile,
                       innerH % kFrameTile};
  drawFrameCorners(canvas, sheets, grid);
  drawFullColumns(canvas, sheets, grid);
  drawPartialColumn(canvas, sheets, grid);
  drawPartialRow(canvas, sheets, grid);
}

}  // namespace orelog

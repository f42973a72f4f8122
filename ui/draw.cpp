// The drawing primitives: sprite copy through the mask, solid fills and the tiled panel frame.
#include "ui/draw.h"

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "ui/pixel_rows.h"
#include "ui/sheet_runs.h"
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

const Pixel* sheetRow(const Image& sheet, int row) {
  return sheet.pixels.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(sheet.width);
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

}  // namespace

void drawSprite(Canvas& canvas, const SpriteSheets& sheets, int x, int y, const SpriteRegion& region) {
  if (const CompiledSprite* compiled = findCompiledSprite(sheets, region)) {
    // The compiled picture covers the region, so only the canvas clips it.
    const Span1D cols = clipSpan(0, x, region.width, region.width, canvas.width);
    const Span1D rows = clipSpan(0, y, region.height, region.height, canvas.height);
    if (cols.length == 0 || rows.length == 0) return;
    drawCompiledRows(sheets.runs, *compiled, rows.source, rows.length, cols.source, cols.source + cols.length,
                     canvas.pixels + static_cast<std::ptrdiff_t>(rows.dest) * canvas.stride + cols.dest,
                     canvas.stride);
    return;
  }
  const SheetExtent sheet = sheetExtent(sheets);
  const Span1D cols = clipSpan(region.x, x, region.width, sheet.width, canvas.width);
  const Span1D rows = clipSpan(region.y, y, region.height, sheet.height, canvas.height);
  if (cols.length == 0 || rows.length == 0) return;
  Pixel* dest = canvas.pixels + static_cast<std::ptrdiff_t>(rows.dest) * canvas.stride + cols.dest;
  // A picture the index does not hold is combined whole; the row pointers are only advanced
  // while rows remain.
  const Pixel* mask = sheetRow(sheets.mask, rows.source) + cols.source;
  const Pixel* colour = sheetRow(sheets.colour, rows.source) + cols.source;
  for (int r = 0;;) {
    combineRow(dest, mask, colour, cols.length);
    if (++r == rows.length) break;
    dest += canvas.stride;
    mask += sheets.mask.width;
    colour += sheets.colour.width;
  }
}

void fillRect(Canvas& canvas, int left, int top, int right, int bottom, Pixel colour) {
  const int x0 = std::max(left, 0);
  const int y0 = std::max(top, 0);
  const int x1 = std::min(right, canvas.width);
  const int y1 = std::min(bottom, canvas.height);
  if (x0 >= x1 || y0 >= y1) return;
  // The first row is filled and copied into the others, which is several times faster than
  // filling every row with a 32-bit value.
  Pixel* first = canvas.pixels + static_cast<std::ptrdiff_t>(y0) * canvas.stride + x0;
  fillPixels(first, colour, x1 - x0);
  const std::size_t rowBytes = static_cast<std::size_t>(x1 - x0) * sizeof(Pixel);
  for (int y = y0 + 1; y < y1; ++y)
    std::memcpy(canvas.pixels + static_cast<std::ptrdiff_t>(y) * canvas.stride + x0, first, rowBytes);
}

void drawLine(Canvas& canvas, int x0, int y0, int x1, int y1, Pixel colour) {
  // Bresenham's stepping in 64 bits, so no distance between two ints overflows.
  const int64_t dx = std::abs(int64_t{x1} - x0), dy = -std::abs(int64_t{y1} - y0);
  const int stepX = x0 < x1 ? 1 : -1, stepY = y0 < y1 ? 1 : -1;
  int64_t error = dx + dy;
  for (int64_t x = x0, y = y0;;) {
    if (x >= 0 && y >= 0 && x < canvas.width && y < canvas.height) {
      canvas.at(static_cast<int>(x), static_cast<int>(y)) = colour;
    }
    if (x == x1 && y == y1) return;
    const int64_t doubled = 2 * error;
    if (doubled >= dy) {
      error += dy;
      x += stepX;
    }
    if (doubled <= dx) {
      error += dx;
      y += stepY;
    }
  }
}

void fillAround(Canvas& canvas, std::span<const Rect> holes, Pixel colour) {
  // Bands of rows between the holes' top and bottom edges; in each, the gaps between the holes
  // that cross the whole band are filled.
  std::vector<int> edges{0, canvas.height};
  for (const Rect& hole : holes) edges.insert(edges.end(), {hole.y, hole.y + hole.height});
  std::sort(edges.begin(), edges.end());
  for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
    const int top = std::max(edges[i], 0), bottom = std::min(edges[i + 1], canvas.height);
    if (top >= bottom) continue;
    std::vector<Rect> crossing;
    for (const Rect& hole : holes)
      if (hole.y <= top && hole.y + hole.height >= bottom && hole.width > 0) crossing.push_back(hole);
    std::sort(crossing.begin(), crossing.end(), [](const Rect& a, const Rect& b) { return a.x < b.x; });
    int left = 0;
    for (const Rect& hole : crossing) {
      fillRect(canvas, left, top, hole.x, bottom, colour);
      left = std::max(left, hole.x + hole.width);
    }
    fillRect(canvas, left, top, canvas.width, bottom, colour);
  }
}

namespace {

bool withinLimit(int v) {
  return v >= -kFrameCoordinateLimit && v <= kFrameCoordinateLimit;
}

// A piece of the frame: its region on the sheets, compiled when the sheets are indexed.
struct FramePiece {
  SpriteRegion region;
  const CompiledSprite* compiled;
};

struct FramePieces {
  FramePiece topLeft, top, topRight, left, centre, right, bottomLeft, bottom, bottomRight;
};

FramePieces framePieces(const SpriteSheets& sheets) {
  using namespace sprites;
  const auto piece = [&](const SpriteRegion& region) {
    return FramePiece{region, findCompiledSprite(sheets, region)};
  };
  return {piece(kFrameTopLeft),    piece(kFrameTop),    piece(kFrameTopRight),
          piece(kFrameLeft),       piece(kFrameCentre), piece(kFrameRight),
          piece(kFrameBottomLeft), piece(kFrameBottom), piece(kFrameBottomRight)};
}

// The pieces one row of a frame is made of: the left border, the tile repeated across the middle,
// the right border, and the row within them. The pieces never overlap, so a frame can be copied
// row by row, each row in three spans.
struct FrameRowPieces {
  const FramePiece &left, &tile, &right;
  int pieceRow;
};

FrameRowPieces frameRowPieces(const FramePieces& pieces, int row, int h) {
  if (row < kFrameBorder) return {pieces.topLeft, pieces.top, pieces.topRight, row};
  if (row >= h - kFrameBorder)
    return {pieces.bottomLeft, pieces.bottom, pieces.bottomRight, row - (h - kFrameBorder)};
  return {pieces.left, pieces.centre, pieces.right, (row - kFrameBorder) % kFrameTile};
}

// True when frame row `row` gives the same pixels as the row above it: both lie between the
// borders, in the same repetition of the tiles, and every piece's row replaces all its pixels
// with the colours of the row above.
bool frameRowRepeatsAbove(const SheetRuns& index, const FramePieces& pieces, int row, int h) {
  if (row <= kFrameBorder || row >= h - kFrameBorder) return false;
  const int pieceRow = (row - kFrameBorder) % kFrameTile;
  const auto repeats = [&](const FramePiece& piece) {
    return piece.compiled && rowRepeatsAbove(index, *piece.compiled, pieceRow);
  };
  return pieceRow != 0 && repeats(pieces.left) && repeats(pieces.centre) && repeats(pieces.right);
}

// Copies sheet columns [column, column + length) of `row` to `dest`, leaving out what lies beyond
// the sheets (as a sprite copy would clip it).
void copyWithinSheet(const SpriteSheets& sheets, const SheetExtent& sheet, int row, int column, int length,
                     Pixel* dest) {
  if (row < 0 || row >= sheet.height) return;
  const int from = std::max(column, 0);
  const int to = std::min(column + length, sheet.width);
  if (from < to) {
    combineRow(dest + (from - column), sheetRow(sheets.mask, row) + from, sheetRow(sheets.colour, row) + from,
               to - from);
  }
}

// Columns [pieceColumn, pieceColumn + length) of one row of a piece onto `dest`; with a
// background, the pixels the piece does not replace are first painted with it.
void copyPieceRow(const SpriteSheets& sheets, const SheetExtent& sheet, const FramePiece& piece, int pieceRow,
                  int pieceColumn, int length, Pixel* dest, const Pixel* background) {
  if (piece.compiled && background) {
    drawCompiledRowOn(sheets.runs, *piece.compiled, pieceRow, pieceColumn, pieceColumn + length, dest,
                      *background);
  } else if (piece.compiled) {
    drawCompiledRows(sheets.runs, *piece.compiled, pieceRow, 1, pieceColumn, pieceColumn + length, dest, 0);
  } else {
    if (background) fillPixels(dest, *background, length);
    copyWithinSheet(sheets, sheet, piece.region.y + pieceRow, piece.region.x + pieceColumn, length, dest);
  }
}

// The colours of the tile row when it replaces every pixel, or none.
const Pixel* solidTileRow(const SheetRuns& index, const FramePiece& tile, int pieceRow) {
  return tile.compiled ? solidRowColours(index, *tile.compiled, pieceRow) : nullptr;
}

// The middle of a frame row whose tile row is solid: the tile's colours from `firstColumn` on,
// repeated. The tile is read once; the rest is copied from the row itself, doubling the copied
// length each time.
void copySolidTiles(const Pixel* tile, int firstColumn, int length, Pixel* dest) {
  int done = std::min(kFrameTile - firstColumn, length);
  std::memcpy(dest, tile + firstColumn, static_cast<std::size_t>(done) * sizeof(Pixel));
  if (done == length) return;
  const int periodStart = done;  // tile column 0
  const int first = std::min(kFrameTile, length - done);
  std::memcpy(dest + done, tile, static_cast<std::size_t>(first) * sizeof(Pixel));
  done += first;
  while (done < length) {
    const int n = std::min(done - periodStart, length - done);
    std::memcpy(dest + done, dest + periodStart, static_cast<std::size_t>(n) * sizeof(Pixel));
    done += n;
  }
}

// Columns [from, to) of one frame row; `dest` is where column `from` lies on the canvas. With a
// background, the row is painted with it wherever the frame does not replace every pixel.
void copyFrameRow(const SpriteSheets& sheets, const SheetExtent& sheet, const FrameRowPieces& pieces, int w,
                  int from, int to, Pixel* dest, const Pixel* background) {
  const auto piece = [&](const FramePiece& p, int pieceColumn, int at, int length) {
    copyPieceRow(sheets, sheet, p, pieces.pieceRow, pieceColumn, length, dest + (at - from), background);
  };
  const int rightX = w - kFrameBorder;
  if (from < kFrameBorder) piece(pieces.left, from, from, std::min(kFrameBorder, to) - from);
  const int middleFrom = std::max(from, kFrameBorder);
  const int middleTo = std::min(to, rightX);
  const Pixel* solid = solidTileRow(sheets.runs, pieces.tile, pieces.pieceRow);
  for (int at = middleFrom; at < middleTo;) {
    const int tileColumn = (at - kFrameBorder) % kFrameTile;
    if (solid) {
      copySolidTiles(solid, tileColumn, middleTo - at, dest + (at - from));
      break;
    }
    const int length = std::min(kFrameTile - tileColumn, middleTo - at);
    piece(pieces.tile, tileColumn, at, length);
    at += length;
  }
  const int rightFrom = std::max(from, rightX);
  if (rightFrom < to) piece(pieces.right, rightFrom - rightX, rightFrom, to - rightFrom);
}

void drawFrame(Canvas& canvas, const SpriteSheets& sheets, int x, int y, int w, int h,
               const Pixel* background) {
  // Below 10 x 10 the corners would overlap; such a frame is not drawn at all.
  if (w < kFrameMinimum || h < kFrameMinimum) return;
  if (!withinLimit(x) || !withinLimit(y) || w > kFrameCoordinateLimit || h > kFrameCoordinateLimit) return;
  // The frame's part on the canvas, in frame coordinates.
  const int fromX = std::max(0, -x), toX = std::min(w, canvas.width - x);
  const int fromY = std::max(0, -y), toY = std::min(h, canvas.height - y);
  if (fromX >= toX || fromY >= toY) return;
  const SheetExtent sheet = sheetExtent(sheets);
  const FramePieces pieces = framePieces(sheets);
  const std::size_t rowBytes = static_cast<std::size_t>(toX - fromX) * sizeof(Pixel);
  for (int row = fromY; row < toY; ++row) {
    Pixel* dest = canvas.pixels + static_cast<std::ptrdiff_t>(y + row) * canvas.stride + (x + fromX);
    if (row > fromY && frameRowRepeatsAbove(sheets.runs, pieces, row, h)) {
      std::memcpy(dest, dest - canvas.stride, rowBytes);
    } else {
      copyFrameRow(sheets, sheet, frameRowPieces(pieces, row, h), w, fromX, toX, dest, background);
    }
  }
}

}  // namespace

void drawPanelFrame(Canvas& canvas, const SpriteSheets& sheets, int x, int y, int w, int h) {
  drawFrame(canvas, sheets, x, y, w, h, nullptr);
}

void drawPanelFrameOn(Canvas& canvas, const SpriteSheets& sheets, const Rect& frame, Pixel background) {
  assert(frame.width >= kFrameMinimum && frame.height >= kFrameMinimum && withinLimit(frame.x) &&
         withinLimit(frame.y) && frame.width <= kFrameCoordinateLimit &&
         frame.height <= kFrameCoordinateLimit && "only a frame that is drawn paints its background");
  drawFrame(canvas, sheets, frame.x, frame.y, frame.width, frame.height, &background);
}

}  // namespace orelog

// The panel frame: every piece lands where the tiling puts it, once, cut from its top-left.
#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <string>

#include "tests/support/sheet_fixture.h"
#include "ui/draw.h"
#include "ui/sprite_regions.h"

namespace orelog {
namespace {

using testing::blankSheets;
using testing::filledCanvas;
using testing::kWhite;
using testing::pixelOf;

// The nine pieces in a fixed order; each gets its own bit in the codes below.
enum Piece { TopLeft, Top, TopRight, Left, Centre, Right, BottomLeft, Bottom, BottomRight };
constexpr std::array<SpriteRegion, 9> kPieces = {
    sprites::kFrameTopLeft, sprites::kFrameTop,    sprites::kFrameTopRight,
    sprites::kFrameLeft,    sprites::kFrameCentre, sprites::kFrameRight,
    sprites::kFrameBottomLeft, sprites::kFrameBottom, sprites::kFrameBottomRight};

// A pixel's code: which piece and which offset inside it (dx, dy < 32 fit five bits each).
Pixel code(int piece, int dx, int dy) {
  return (Pixel{1} << piece) | (Pixel(dx) << 9) | (Pixel(dy) << 14);
}

// Each piece pixel on the colour sheet is white with its code's bits cleared, and its mask is
// black. The sprite copy then ANDs the code into a white canvas: a pixel drawn once shows exactly
// one code, a pixel drawn twice shows two codes mixed, and a pixel never drawn stays white.
SpriteSheets codedPieceSheets() {
  SpriteSheets sheets = blankSheets(sprites::kSheetSize, sprites::kSheetSize);
  for (int piece = 0; piece < 9; ++piece) {
    const SpriteRegion r = kPieces[piece];
    for (int dy = 0; dy < r.height; ++dy)
      for (int dx = 0; dx < r.width; ++dx) pixelOf(sheets.colour, r.x + dx, r.y + dy) = kWhite & ~code(piece, dx, dy);
  }
  return sheets;
}

// Where a frame pixel comes from along one axis: the near border, a 32-pixel tile, or the far border.
struct AxisPlace {
  int band;    // 0 near border, 1 tiles, 2 far border
  int offset;  // inside the piece
};

AxisPlace placeOnAxis(int d, int size) {
  if (d < 5) return {0, d};
  if (d >= size - 5) return {2, d - (size - 5)};
  return {1, (d - 5) % 32};
}

Pixel expectedAt(int dx, int dy, int w, int h) {
  const AxisPlace col = placeOnAxis(dx, w);
  const AxisPlace row = placeOnAxis(dy, h);
  const int piece = row.band * 3 + col.band;
  return kWhite & ~code(piece, col.offset, row.offset);
}

struct FrameCase {
  int x, y, w, h;
};

class PanelFrame : public ::testing::TestWithParam<FrameCase> {};

TEST_P(PanelFrame, EveryPixelComesFromExactlyOnePieceInItsPlace) {
  static const SpriteSheets sheets = codedPieceSheets();
  const FrameCase f = GetParam();
  Canvas canvas = filledCanvas(kWhite);

  drawPanelFrame(canvas, sheets, f.x, f.y, f.w, f.h);

  for (int y = 0; y < canvas.height; ++y)
    for (int x = 0; x < canvas.width; ++x) {
      const int dx = x - f.x, dy = y - f.y;
      const bool inFrame = dx >= 0 && dx < f.w && dy >= 0 && dy < f.h;
      ASSERT_EQ(canvas.at(x, y), inFrame ? expectedAt(dx, dy, f.w, f.h) : kWhite)
          << "at " << x << ", " << y << " for " << f.w << " x " << f.h;
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, PanelFrame,
                         ::testing::Values(FrameCase{10, 20, 200, 18},   // nx 5, rw 30, ny 0, rh 8
                                           FrameCase{60, 50, 382, 192},  // nx 11, rw 20, ny 5, rh 22
                                           FrameCase{3, 4, 10, 10},      // corners only
                                           FrameCase{100, 100, 42, 74},  // whole tiles, no cut
                                           FrameCase{200, 30, 43, 11},   // one-pixel cuts
                                           FrameCase{400, 250, 200, 90}),  // clipped by the canvas
                         [](const auto& info) {
                           return "at" + std::to_string(info.param.x) + "_" + std::to_string(info.param.y) +
                                  "_size" + std::to_string(info.param.w) + "x" + std::to_string(info.param.h);
                         });

TEST(PanelFrameLimits, FramesBelowTenPixelsOrBeyondAnyScreenAreNotDrawn) {
  const SpriteSheets sheets = codedPieceSheets();
  Canvas canvas = filledCanvas(kWhite);
  drawPanelFrame(canvas, sheets, 10, 10, 9, 40);
  drawPanelFrame(canvas, sheets, 10, 10, 40, 9);
  drawPanelFrame(canvas, sheets, 10, 10, -40, -40);
  drawPanelFrame(canvas, sheets, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), 40, 40);
  drawPanelFrame(canvas, sheets, 0, 0, std::numeric_limits<int>::max(), std::numeric_limits<int>::max());
  for (int y = 0; y < canvas.height; ++y)
    for (int x = 0; x < canvas.width; ++x) ASSERT_EQ(canvas.at(x, y), kWhite);
}

}  // namespace
}  // namespace orelog

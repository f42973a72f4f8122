// Pixel tests of the sprite copy, the solid fill and the canvas itself.
#include <gtest/gtest.h>

#include "tests/support/sheet_fixture.h"
#include "ui/draw.h"
#include "ui/sprite_regions.h"

namespace orelog {
namespace {

using testing::blankSheets;
using testing::filledCanvas;
using testing::kBlack;
using testing::kWhite;
using testing::paintPicture;
using testing::pixelOf;

constexpr Pixel kBackground = rgb(80, 141, 255);
constexpr Pixel kFur = kWhite;
constexpr Pixel kNose = rgb(255, 0, 128);

// Every pixel of the canvas that differs from `background`.
int changedPixels(const Canvas& canvas, Pixel background) {
  int changed = 0;
  for (int y = 0; y < canvas.height; ++y)
    for (int x = 0; x < canvas.width; ++x) changed += canvas.at(x, y) != background;
  return changed;
}

// A picture whose every pixel is distinct, so a copy from the wrong offset shows.
Pixel patternAt(int dx, int dy) { return rgb(static_cast<uint8_t>(dx), static_cast<uint8_t>(dy), 7); }

TEST(DrawSprite, WhiteFurStaysWhiteAndOutsideTheSilhouetteIsUntouched) {
  SpriteSheets sheets = blankSheets(64, 64);
  // A 4 x 4 cat at (8, 8): a white body with a coloured nose; the sheet around it is white/black.
  paintPicture(sheets, {8, 8, 4, 4}, [](int dx, int dy) { return dx == 1 && dy == 1 ? kNose : kFur; });
  Canvas canvas = filledCanvas(kBackground, 32, 32);

  drawSprite(canvas, sheets, 10, 20, SpriteRegion{6, 6, 8, 8});  // the region has a 2-pixel margin

  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const bool inCat = x >= 12 && x < 16 && y >= 22 && y < 26;
      const Pixel expected = !inCat ? kBackground : (x == 13 && y == 23 ? kNose : kFur);
      EXPECT_EQ(canvas.at(x, y), expected) << "at " << x << ", " << y;
    }
}

struct ClipCase {
  const char* name;
  // The case by its name, so a test's listed name holds no object bytes.
  friend void PrintTo(const ClipCase& c, std::ostream* os) { *os << c.name; }
  int x, y;
};

class DrawSpriteClipping : public ::testing::TestWithParam<ClipCase> {};

TEST_P(DrawSpriteClipping, DrawsExactlyThePartInsideTheCanvas) {
  constexpr SpriteRegion kRegion{3, 5, 12, 9};
  SpriteSheets sheets = blankSheets(32, 32);
  paintPicture(sheets, kRegion, patternAt);
  Canvas canvas = filledCanvas(kBackground, 40, 30);
  const ClipCase c = GetParam();

  drawSprite(canvas, sheets, c.x, c.y, kRegion);

  for (int y = 0; y < canvas.height; ++y)
    for (int x = 0; x < canvas.width; ++x) {
      const int dx = x - c.x, dy = y - c.y;
      const bool inSprite = dx >= 0 && dx < kRegion.width && dy >= 0 && dy < kRegion.height;
      ASSERT_EQ(canvas.at(x, y), inSprite ? patternAt(dx, dy) : kBackground) << "at " << x << ", " << y;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Edges, DrawSpriteClipping,
    ::testing::Values(ClipCase{"inside", 10, 10}, ClipCase{"left", -5, 10}, ClipCase{"top", 10, -4},
                      ClipCase{"right", 33, 10}, ClipCase{"bottom", 10, 25},
                      ClipCase{"topLeftCorner", -11, -8}, ClipCase{"bottomRightCorner", 39, 29},
                      ClipCase{"fullyLeft", -12, 10}, ClipCase{"fullyAbove", 10, -9},
                      ClipCase{"fullyRight", 40, 10}, ClipCase{"fullyBelow", 10, 30},
                      ClipCase{"farAway", 2000000000, -2000000000}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DrawSprite, RegionsOfZeroOrNegativeSizeDrawNothing) {
  SpriteSheets sheets = blankSheets(32, 32);
  paintPicture(sheets, {0, 0, 32, 32}, patternAt);
  for (const SpriteRegion region : {SpriteRegion{4, 4, 0, 8}, SpriteRegion{4, 4, 8, 0},
                                    SpriteRegion{4, 4, -3, 8}, SpriteRegion{4, 4, 8, -1}}) {
    Canvas canvas = filledCanvas(kBackground, 40, 30);
    drawSprite(canvas, sheets, 5, 5, region);
    EXPECT_EQ(changedPixels(canvas, kBackground), 0) << region.width << " x " << region.height;
  }
}

TEST(DrawSprite, IsClippedAtTheSheetEdgeToo) {
  SpriteSheets sheets = blankSheets(32, 32);
  paintPicture(sheets, {0, 0, 32, 32}, patternAt);
  Canvas canvas = filledCanvas(kBackground, 40, 30);

  drawSprite(canvas, sheets, 0, 0, SpriteRegion{28, 30, 10, 10});   // 4 x 2 lie on the sheet
  drawSprite(canvas, sheets, 20, 20, SpriteRegion{-2, -3, 4, 4});    // 2 x 1 lie on the sheet

  EXPECT_EQ(changedPixels(canvas, kBackground), 4 * 2 + 2 * 1);
  EXPECT_EQ(canvas.at(3, 1), patternAt(31, 31));
  EXPECT_EQ(canvas.at(22, 23), patternAt(0, 0));
}

TEST(DrawSprite, EmptyOrMismatchedSheetsNeverReadOutsideTheirPixels) {
  Canvas canvas = filledCanvas(kBackground, 40, 30);
  drawSprite(canvas, SpriteSheets{}, 0, 0, SpriteRegion{0, 0, 10, 10});
  SpriteSheets lopsided = blankSheets(32, 32);
  lopsided.mask = Image{8, 4, std::vector<Pixel>(8 * 4, kWhite)};
  lopsided.colour.pixels.resize(32 * 2);  // only two whole rows are really there
  drawSprite(canvas, lopsided, 0, 0, SpriteRegion{0, 0, 32, 32});
  EXPECT_EQ(changedPixels(canvas, kBackground), 8 * 2);
}

TEST(DrawSprite, BluePanelAcrossTheCornerShowsOnlyItsTopLeft45By20) {
  const SpriteRegion panel = sprites::kBluePanel;
  SpriteSheets sheets = blankSheets(sprites::kSheetSize, sprites::kSheetSize);
  paintPicture(sheets, panel, patternAt);
  Canvas canvas = filledCanvas(kBackground);

  drawSprite(canvas, sheets, 475, 280, panel);

  EXPECT_EQ(changedPixels(canvas, kBackground), 45 * 20);
  for (int dy = 0; dy < 20; ++dy)
    for (int dx = 0; dx < 45; ++dx) ASSERT_EQ(canvas.at(475 + dx, 280 + dy), patternAt(dx, dy));
}

TEST(DrawSprite, WritesOnlyTheVisibleColumnsOfAWrappedCanvas) {
  constexpr int kWidth = 10, kHeight = 6, kStride = 16;
  constexpr Pixel kPadding = rgb(1, 2, 3);
  std::vector<Pixel> memory(kStride * kHeight, kPadding);
  Canvas canvas = wrapCanvas(memory.data(), kWidth, kHeight, kStride);
  SpriteSheets sheets = blankSheets(32, 32);
  paintPicture(sheets, {0, 0, 32, 32}, patternAt);

  drawSprite(canvas, sheets, 4, 2, SpriteRegion{0, 0, 32, 32});

  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kStride; ++x) {
      const Pixel expected = x >= kWidth ? kPadding : (x >= 4 && y >= 2 ? patternAt(x - 4, y - 2) : kPadding);
      ASSERT_EQ(memory[y * kStride + x], expected) << "at " << x << ", " << y;
    }
}

TEST(FillRect, RightAndBottomEdgesAreExclusive) {
  Canvas canvas = filledCanvas(kBlack, 20, 10);
  fillRect(canvas, 2, 3, 7, 5, kBackground);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) {
      const bool inside = x >= 2 && x < 7 && y >= 3 && y < 5;
      ASSERT_EQ(canvas.at(x, y), inside ? kBackground : kBlack) << "at " << x << ", " << y;
    }
}

TEST(FillRect, IsClippedAndIgnoresEmptyOrInvertedRectangles) {
  Canvas canvas = filledCanvas(kBlack, 20, 10);
  fillRect(canvas, -5, -5, 3, 2, kBackground);
  fillRect(canvas, 18, 8, 100, 100, kBackground);
  EXPECT_EQ(changedPixels(canvas, kBlack), 3 * 2 + 2 * 2);
  fillRect(canvas, 5, 5, 5, 9, kWhite);
  fillRect(canvas, 9, 5, 6, 9, kWhite);
  fillRect(canvas, 30, 0, 40, 10, kWhite);
  EXPECT_EQ(changedPixels(canvas, kBlack), 3 * 2 + 2 * 2);
}

TEST(Canvas, MakeCanvasIsBlackAndOfTheGameScreensSize) {
  const Canvas canvas = makeCanvas();
  ASSERT_EQ(canvas.width, kCanvasWidth);
  ASSERT_EQ(canvas.height, kCanvasHeight);
  EXPECT_EQ(canvas.stride, kCanvasWidth);
  EXPECT_EQ(changedPixels(canvas, kBlack), 0);
}

TEST(Canvas, ACopyOwnsItsPixels) {
  Canvas original = filledCanvas(kBackground, 8, 4);
  Canvas copy = original;
  original.at(1, 1) = kWhite;
  EXPECT_EQ(copy.at(1, 1), kBackground);

  std::vector<Pixel> memory(12 * 3, kBlack);
  const Canvas wrapped = wrapCanvas(memory.data(), 10, 3, 12);
  Canvas snapshot = wrapped;
  memory[0] = kWhite;
  EXPECT_EQ(snapshot.at(0, 0), kBlack);
  EXPECT_EQ(snapshot.stride, 10);

  Canvas assigned;
  assigned = copy;
  copy.at(2, 2) = kWhite;
  EXPECT_EQ(assigned.at(2, 2), kBackground);
}

TEST(Canvas, AMovedCanvasKeepsItsPixelsAndLeavesAnEmptyOne) {
  Canvas original = filledCanvas(kBackground, 8, 4);
  const Pixel* memory = original.pixels;
  Canvas moved = std::move(original);
  EXPECT_EQ(moved.pixels, memory);
  EXPECT_EQ(moved.at(7, 3), kBackground);
  EXPECT_EQ(original.pixels, nullptr);  // NOLINT(bugprone-use-after-move): moved-from state is defined
  EXPECT_EQ(original.width, 0);
}

}  // namespace
}  // namespace orelog

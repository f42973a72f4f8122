// The fast paths of the drawing give the pixels of the plain rules: the sprite copy and the panel
// frame against pixel-by-pixel references on the real sheets, and every page the same with and
// without the sheets' run index and whatever the canvas held before.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "game/characters.h"
#include "profile/catalogue.h"
#include "services/system_text.h"
#include "tests/support/canvas_compare.h"
#include "tests/support/full_record.h"
#include "ui/draw.h"
#include "ui/game_screen.h"
#include "ui/sheet_decoding.h"
#include "ui/sheet_runs.h"
#include "ui/sprite_regions.h"

namespace orelog {
namespace {

using testing::firstDifference;
using testing::noiseCanvas;

const SpriteSheets* realSheets() {
  static const std::optional<SpriteSheets> sheets = loadEmbeddedSheets();
  return sheets ? &*sheets : nullptr;
}

#define REQUIRE_SHEETS()                                                            \
  if (realSheets() == nullptr) GTEST_SKIP() << "this build has no embedded sheets"; \
  const SpriteSheets& sheets = *realSheets()

// The sprite copy by its rule, one pixel at a time: OR the mask, AND the colour, inside both the
// sheet and the canvas.
void referenceSprite(Canvas& canvas, const SpriteSheets& sheets, int x, int y, const SpriteRegion& r) {
  for (int dy = 0; dy < r.height; ++dy)
    for (int dx = 0; dx < r.width; ++dx) {
      const int sx = r.x + dx, sy = r.y + dy, cx = x + dx, cy = y + dy;
      if (sx < 0 || sy < 0 || sx >= sheets.colour.width || sy >= sheets.colour.height) continue;
      if (cx < 0 || cy < 0 || cx >= canvas.width || cy >= canvas.height) continue;
      canvas.at(cx, cy) = (canvas.at(cx, cy) | sheets.mask.at(sx, sy)) & sheets.colour.at(sx, sy);
    }
}

SpriteRegion cutPiece(const SpriteRegion& piece, int w, int h) {
  return {piece.x, piece.y, w, h};
}

// The panel frame as nine kinds of pieces, each drawn with the reference sprite copy.
void referenceFrame(Canvas& canvas, const SpriteSheets& sheets, int x, int y, int w, int h) {
  using namespace sprites;
  const int nx = (w - 10) / 32, rw = (w - 10) % 32, ny = (h - 10) / 32, rh = (h - 10) % 32;
  const auto piece = [&](int px, int py, const SpriteRegion& r) {
    referenceSprite(canvas, sheets, px, py, r);
  };
  piece(x, y, kFrameTopLeft);
  piece(x + w - 5, y, kFrameTopRight);
  piece(x + w - 5, y + h - 5, kFrameBottomRight);
  piece(x, y + h - 5, kFrameBottomLeft);
  for (int i = 0; i < nx; ++i) {
    const int cx = x + 5 + 32 * i;
    piece(cx, y, kFrameTop);
    piece(cx, y + h - 5, kFrameBottom);
    for (int j = 0; j < ny; ++j) piece(cx, y + 5 + 32 * j, kFrameCentre);
    piece(cx, y + 5 + 32 * ny, cutPiece(kFrameCentre, 32, rh));
  }
  const int cx = x + 5 + 32 * nx;
  piece(cx, y, cutPiece(kFrameTop, rw, 5));
  piece(cx, y + h - 5, cutPiece(kFrameBottom, rw, 5));
  for (int j = 0; j < ny; ++j) {
    const int cy = y + 5 + 32 * j;
    piece(x + w - 5, cy, kFrameRight);
    piece(x, cy, kFrameLeft);
    piece(cx, cy, cutPiece(kFrameCentre, rw, 32));
  }
  const int cy = y + 5 + 32 * ny;
  piece(x + w - 5, cy, cutPiece(kFrameRight, 5, rh));
  piece(x, cy, cutPiece(kFrameLeft, 5, rh));
  piece(cx, cy, cutPiece(kFrameCentre, rw, rh));
}

struct Placement {
  int x, y;
};
// Inside, and across each edge and corner of the canvas.
constexpr Placement kPlacements[] = {{40, 30},   {-7, 50},   {500, 120}, {200, -9},
                                     {150, 290}, {-20, -20}, {510, 285}};

// The real sheets with some pixels of a worker, an item and the blue panel turned into pixels
// that combine with the canvas (a mask without every colour bit, or a coloured pixel under a black
// mask), which the real pictures do not have.
SpriteSheets combiningSheets(const SpriteSheets& real) {
  SpriteSheets combining = real;
  for (const SpriteRegion& r : {sprites::kPick1, itemRegion(0), sprites::kBluePanel})
    for (int y = r.y; y < r.y + r.height; ++y)
      for (int x = r.x; x < r.x + r.width; ++x) {
        const std::size_t i = static_cast<std::size_t>(y) * combining.colour.width + x;
        if (combining.mask.pixels[i] != 0 && (x + y) % 3 == 0)
          combining.mask.pixels[i] = rgb(0x80, 0x80, 0x80);
        if (combining.mask.pixels[i] == 0 && (x + 2 * y) % 5 == 0)
          combining.colour.pixels[i] = rgb(200, 100, 50);
      }
  indexSheetRuns(combining);
  return combining;
}

void checkSprites(const SpriteSheets& sheets, const char* drawnFrom) {
  std::vector<SpriteRegion> regions = {sprites::kShelf,        sprites::kTitleBanner, sprites::kBluePanel,
                                       sprites::kStatusBanner, sprites::kCloud,       sprites::kExcavator1,
                                       sprites::kDrill2,       sprites::kCoinFront,   sprites::kShareIcon,
                                       sprites::kPick1,        sprites::kFrameTopLeft};
  for (int32_t kind = 0; kind < kItemKindCount; ++kind) regions.push_back(itemRegion(kind));
  // Pictures cut short (as item pictures in a list row are) and regions no page draws.
  for (const SpriteRegion& r : {itemRegion(0), sprites::kExcavator2, sprites::kBluePanel})
    regions.push_back({r.x, r.y, r.width - 3, r.height / 2});
  regions.push_back({sprites::kPick1.x + 5, sprites::kPick1.y + 3, 20, 20});
  regions.push_back({sprites::kShelf.x, sprites::kShelf.y, sprites::kShelf.width + 40, 8});
  for (const SpriteRegion& region : regions)
    for (const Placement& at : kPlacements) {
      Canvas expected = noiseCanvas(1);
      Canvas actual = noiseCanvas(1);
      referenceSprite(expected, sheets, at.x, at.y, region);
      drawSprite(actual, sheets, at.x, at.y, region);
      ASSERT_EQ(actual.storage, expected.storage)
          << drawnFrom << ": region " << region.x << ", " << region.y << ", " << region.width << " x "
          << region.height << " drawn at " << at.x << ", " << at.y << ": "
          << firstDifference(actual, expected);
    }
}

TEST(CompositionIdentity, SpriteCopiesMatchTheRuleForEveryDrawnRegion) {
  REQUIRE_SHEETS();
  checkSprites(sheets, "real sheets");
  if (HasFatalFailure()) return;
  checkSprites(combiningSheets(sheets), "sheets with combined pixels");
}

void checkFrames(const SpriteSheets& sheets);

// The real sheets with every opaque pixel of the blue panel (the frame pieces' source) given a
// colour by its column and its band of `bandRows` rows, so a piece or tile copied from a wrong
// column or band shows. Bands of several rows give rows equal to the row above, and a tile whose
// last row differs from its first.
SpriteSheets codedPanelSheets(const SpriteSheets& real, int bandRows) {
  SpriteSheets coded = real;
  const SpriteRegion& panel = sprites::kBluePanel;
  for (int y = panel.y; y < panel.y + panel.height; ++y)
    for (int x = panel.x; x < panel.x + panel.width; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * coded.colour.width + x;
      if (coded.mask.pixels[i] != 0)
        coded.colour.pixels[i] = rgb(static_cast<uint8_t>(x), static_cast<uint8_t>(y / bandRows), 99);
    }
  indexSheetRuns(coded);
  return coded;
}

TEST(CompositionIdentity, PanelFramesMatchTheirPiecesAndPaintTheirBackground) {
  REQUIRE_SHEETS();
  for (const SpriteSheets& drawnFrom :
       {sheets, codedPanelSheets(sheets, 1), codedPanelSheets(sheets, 8), combiningSheets(sheets)}) {
    checkFrames(drawnFrom);
    if (HasFatalFailure()) return;
  }
}

void checkFrames(const SpriteSheets& sheets) {
  struct Size {
    int w, h;
  };
  constexpr Size kSizes[] = {{10, 10},  {11, 43},  {200, 18}, {382, 192},
                             {324, 18}, {108, 68}, {108, 54}, {100, 20}};
  constexpr Pixel kBackground = rgb(211, 208, 201);
  for (const Size& size : kSizes)
    for (const Placement& at : kPlacements) {
      const std::string where = std::to_string(size.w) + " x " + std::to_string(size.h) + " at " +
                                std::to_string(at.x) + ", " + std::to_string(at.y) + ": ";
      Canvas expected = noiseCanvas(2);
      Canvas actual = noiseCanvas(2);
      referenceFrame(expected, sheets, at.x, at.y, size.w, size.h);
      drawPanelFrame(actual, sheets, at.x, at.y, size.w, size.h);
      ASSERT_EQ(actual.storage, expected.storage) << where << firstDifference(actual, expected);

      fillRect(expected, at.x, at.y, at.x + size.w, at.y + size.h, kBackground);
      referenceFrame(expected, sheets, at.x, at.y, size.w, size.h);
      actual = noiseCanvas(2);
      drawPanelFrameOn(actual, sheets, Rect{at.x, at.y, size.w, size.h}, kBackground);
      ASSERT_EQ(actual.storage, expected.storage)
          << "on a background, " << where << firstDifference(actual, expected);
    }
}

TEST(CompositionIdentity, FillAroundLeavesExactlyTheHoles) {
  constexpr Pixel kFill = rgb(9, 8, 7);
  constexpr Rect kHoles[] = {{32, 100, 324, 168}, {32, 68, 324, 18}, {380, 100, 108, 68}, {500, 290, 40, 40}};
  Canvas canvas = noiseCanvas(3);
  const Canvas before = canvas;
  fillAround(canvas, kHoles, kFill);
  for (int y = 0; y < canvas.height; ++y)
    for (int x = 0; x < canvas.width; ++x) {
      bool inHole = false;
      for (const Rect& hole : kHoles) inHole = inHole || contains(hole, x, y);
      ASSERT_EQ(canvas.at(x, y), inHole ? before.at(x, y) : kFill) << "at " << x << ", " << y;
    }
}

TEST(CompositionIdentity, EveryPageIsTheSameWithoutTheRunIndexAndOverAnyEarlierPicture) {
  REQUIRE_SHEETS();
  SpriteSheets unindexed = sheets;
  unindexed.runs = {};
  const PlayerRecord record = test::fullRecord();
  GameScreen screen;
  initGameScreen(screen, record);
  rebuildCharacterSlots(screen.slots, record);
  screen.hoveredCharacter = 7;
  screen.items.motion.flyingItem = 1;
  screen.items.motion.flightStartX = 300;
  screen.items.motion.flightStartY = 200;
  screen.items.motion.flightRadius = 64;
  const std::unique_ptr<TextRenderer> text = makeSystemTextRenderer();
  for (int32_t page = kTopPage; page <= kLogPage; ++page)
    for (uint64_t frame : {0, 5, 13}) {
      screen.page = page;
      screen.frame = frame;
      Canvas expected = noiseCanvas(4);
      paintCurrentPage(expected, screen, record, unindexed, *text);
      for (uint32_t seed : {4u, 5u}) {
        Canvas actual = noiseCanvas(seed);
        paintCurrentPage(actual, screen, record, sheets, *text);
        ASSERT_EQ(actual.storage, expected.storage)
            << "page " << page << " frame " << frame << " over picture " << seed << ": "
            << firstDifference(actual, expected);
      }
    }
}

}  // namespace
}  // namespace orelog

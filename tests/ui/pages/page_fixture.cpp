// Synthetic sheets, the recording renderer's helpers and the compose helper of the page tests.
#include "page_fixture.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "profile/catalogue.h"
#include "tests/support/recording_text_renderer.h"
#include "ui/draw.h"
#include "ui/palette.h"
#include "ui/sheet_runs.h"
#include "ui/sprite_regions.h"
#include "util/utf.h"

namespace orelog::test {

namespace {

constexpr Pixel kWhite = rgb(255, 255, 255);
constexpr Pixel kBlack = rgb(0, 0, 0);

// Distinct, never white, never one of the palette's colours (whose blue channel is not 7).
Pixel colourFromPlace(int x, int y) {
  return rgb(static_cast<uint8_t>(40 + x / 5), static_cast<uint8_t>(20 + y / 5), static_cast<uint8_t>(7));
}

void paint(SpriteSheets& sheets, const SpriteRegion& r, int fromRow, int toRow) {
  const Pixel colour = colourFromPlace(r.x, r.y);
  for (int y = r.y + fromRow; y < r.y + toRow; ++y) {
    for (int x = r.x; x < r.x + r.width; ++x) {
      sheets.colour.pixels[static_cast<std::size_t>(y) * sheets.colour.width + x] = colour;
      sheets.mask.pixels[static_cast<std::size_t>(y) * sheets.mask.width + x] = kWhite;
    }
  }
}

SpriteSheets buildSheets() {
  constexpr int size = sprites::kSheetSize;
  SpriteSheets sheets;
  sheets.colour = {size, size, std::vector<Pixel>(static_cast<std::size_t>(size) * size, kWhite)};
  sheets.mask = {size, size, std::vector<Pixel>(static_cast<std::size_t>(size) * size, kBlack)};
  for (const auto& named : sprites::kNamedRegions) {
    const SpriteRegion& r = named.region;
    if (r.x == sprites::kShelf.x && r.y == sprites::kShelf.y) {
      paint(sheets, r, 0, kShelfBand);
      paint(sheets, r, r.height - kShelfBand, r.height);
    } else {
      paint(sheets, r, 0, r.height);
    }
  }
  for (int32_t kind = 0; kind < kItemKindCount; ++kind) {
    const SpriteRegion r = itemRegion(kind);
    paint(sheets, r, 0, r.height);
  }
  indexSheetRuns(sheets);  // the pages are drawn as the game draws them, run index and all
  return sheets;
}

}  // namespace

const SpriteSheets& syntheticSheets() {
  static const SpriteSheets sheets = buildSheets();
  return sheets;
}

Pixel colourOf(const SpriteRegion& region) {
  return colourFromPlace(region.x, region.y);
}

DrawnText label(std::u16string text, int x, int y) {
  return {std::move(text), x, y, FontSize::Small, TextAlign::Left, palette::kTextWhite};
}

DrawnText rightText(std::u16string text, int x, int y, Pixel colour) {
  return {std::move(text), x, y, FontSize::Small, TextAlign::Right, colour};
}

std::string describe(const DrawnText& t) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, " at (%d, %d) font %d align %d colour %06x", t.x, t.y,
                static_cast<int>(t.font), static_cast<int>(t.align), static_cast<unsigned>(t.colour));
  // Built with append: GCC 12 at -O3 misreports `"\"" + std::string` inside libstdc++ as an
  // overlapping copy (-Wrestrict).
  return std::string("\"").append(utf16ToUtf8(t.text)).append("\"").append(buffer);
}

void expectTexts(const std::vector<DrawnText>& actual, const std::vector<DrawnText>& expected) {
  std::string drawn;
  for (const DrawnText& text : actual) drawn.append(describe(text)).append("\n");
  ASSERT_EQ(actual.size(), expected.size()) << "drawn:\n" << drawn;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(actual[i], expected[i])
        << "text " << i << ": " << describe(actual[i]) << " expected " << describe(expected[i]);
  }
}

Composed compose(const GameScreen& screen, const PlayerRecord& record) {
  Composed result{makeCanvas(), {}};
  fillRect(result.canvas, 0, 0, kCanvasWidth, kCanvasHeight, kUntouched);
  RecordingTextRenderer text;
  paintCurrentPage(result.canvas, screen, record, syntheticSheets(), text);
  result.texts = std::move(text.texts);
  return result;
}

}  // namespace orelog::test

// The pictures drawn by code: the blue panel, the shelf and the lettered banners.
#include "drawn_art.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "pixel_font.h"
#include "raster.h"
#include "ui/sprite_regions.h"

namespace orelog::sheetgen {

namespace {

// Where a drawn picture goes: the region the game reads it from, which it fills exactly.
struct Placement {
  const char* name;
  SpriteRegion region;
};

constexpr Placement kBluePanel{"blue panel", sprites::kBluePanel};
constexpr Placement kShelf{"shelf", sprites::kShelf};
constexpr Placement kTitleBanner{"title banner", sprites::kTitleBanner};

struct WordBanner {
  Placement where;
  std::u32string_view word;
};

constexpr WordBanner kWordBanners[] = {
    {{"status banner", sprites::kStatusBanner}, U"STATUS"},
    {{"item banner", sprites::kItemBanner}, U"ITEM"},
    {{"shop banner", sprites::kShopBanner}, U"SHOP"},
    {{"friend banner", sprites::kFriendBanner}, U"FRIEND"},
    {{"log banner", sprites::kLogBanner}, U"LOG"},
};

Picture blank(const Placement& p) {
  return blankPicture(p.name, p.region.x, p.region.y, p.region.width, p.region.height);
}

// ---- blue panel ----------------------------------------------------------------------------
// Every pixel depends only on its distance to the nearest edges, so the pieces cut from the
// panel (corners 5 x 5, edges 32 long, a plain centre) tile without seams.
constexpr Rgb kPanelBlue{24, 0, 255};
constexpr Rgb kPanelNavy{0, 15, 90};
constexpr int kPanelClip = 2;  // pixels with dx + dy below this are cut off the corners

Picture bluePanel() {
  Picture panel = blank(kBluePanel);
  for (int y = 0; y < panel.height; ++y) {
    for (int x = 0; x < panel.width; ++x) {
      const int dx = std::min(x, panel.width - 1 - x);
      const int dy = std::min(y, panel.height - 1 - y);
      if (dx + dy < kPanelClip) continue;
      const bool edge = dx == 0 || dy == 0 || dx + dy == kPanelClip;
      plot(panel, x, y, edge ? kPanelNavy : kPanelBlue);
    }
  }
  return panel;
}

// ---- shelf -----------------------------------------------------------------------------------
// The shelf lines lie one row and 52 rows below the shelf's top: fallen items end just above the
// rail (its top row is 1) or just above the plank (its top row is 52).
constexpr Rgb kWoodDark{84, 46, 22};
constexpr Rgb kWood{142, 86, 44};
constexpr Rgb kWoodLight{178, 118, 66};
constexpr Rgb kWoodGrain{116, 68, 34};
constexpr Rgb kPlankDark{128, 66, 22};
constexpr Rgb kPlank{224, 140, 68};
constexpr Rgb kPlankLight{246, 182, 110};
constexpr Rgb kPlankGrain{196, 112, 48};
constexpr Rgb kNail{70, 70, 78};
constexpr int kRailTop = 1;
constexpr int kRailHeight = 6;
constexpr int kRailBottom = kRailTop + kRailHeight;  // first row below the rail
constexpr int kPlankTop = 52;
constexpr int kPostWidth = 9;
// Grain: short dashes staggered by a step that shares no factor with the shelf's width, so the
// pattern never looks stamped.
constexpr int kGrainStep = 23;
constexpr int kRailGrainStart = 7, kRailGrainLength = 6;
constexpr int kPlankGrainStart = 12, kPlankGrainLength = 9, kKnotOffset = 14;
constexpr int kPostGrainStep = 12, kPostGrainLength = 5;

void drawRail(Picture& shelf) {
  fillRect(shelf, 0, kRailTop, shelf.width, kRailHeight, kWood);
  fillRect(shelf, 0, kRailTop, shelf.width, 1, kWoodDark);
  fillRect(shelf, 0, kRailTop + 1, shelf.width, 1, kWoodLight);
  fillRect(shelf, 0, kRailBottom - 1, shelf.width, 1, kWoodDark);
  fillRect(shelf, 0, kRailTop, 1, kRailHeight, kWoodDark);
  for (int x = kRailGrainStart; x < shelf.width; x += kGrainStep) {
    fillRect(shelf, x, kRailTop + 3 - (x / kGrainStep) % 2, kRailGrainLength, 1, kWoodGrain);
  }
}

void drawPlank(Picture& shelf) {
  const int bottom = shelf.height - 1;
  fillRect(shelf, 0, kPlankTop, shelf.width, shelf.height - kPlankTop, kPlank);
  fillRect(shelf, 0, kPlankTop, shelf.width, 1, kPlankLight);
  fillRect(shelf, 0, bottom, shelf.width, 1, kPlankDark);
  fillRect(shelf, 0, kPlankTop, 1, shelf.height - kPlankTop, kPlankDark);
  for (int x = kPlankGrainStart; x < shelf.width; x += kGrainStep) {
    fillRect(shelf, x, kPlankTop + 2 + (x / kGrainStep) % 3, kPlankGrainLength, 1, kPlankGrain);
    plot(shelf, x + kKnotOffset, kPlankTop + 4, kPlankGrain);
  }
}

// The post runs the full height, so stacked shelves show one unbroken post.
void drawPost(Picture& shelf) {
  const int left = shelf.width - kPostWidth;
  fillRect(shelf, left, 0, kPostWidth, shelf.height, kWood);
  fillRect(shelf, left, 0, 1, shelf.height, kWoodDark);
  fillRect(shelf, left + 1, 0, 1, shelf.height, kWoodLight);
  fillRect(shelf, shelf.width - 1, 0, 1, shelf.height, kWoodDark);
  for (int y = kPostGrainStep - 3; y < shelf.height; y += kPostGrainStep) {
    fillRect(shelf, left + kPostWidth / 2, y, 1, kPostGrainLength, kWoodGrain);
  }
}

// A knee brace from the rail down to the post: parallel diagonals, dark on both sides; the rail
// and the post are drawn over its ends.
void drawBrace(Picture& shelf) {
  const int post = shelf.width - kPostWidth;
  constexpr int kReach = 32;
  constexpr Rgb kBands[] = {kWoodDark, kWoodLight, kWood, kWood, kWoodDark};
  for (int band = 0; band < 5; ++band) {
    drawLine(shelf, post - kReach, kRailBottom - 3 + band, post + 1, kRailBottom + kReach - 2 + band, kBands[band]);
  }
  plot(shelf, post - kReach + 8, kRailBottom + 4, kNail);
  plot(shelf, post - 4, kRailBottom + kReach - 8, kNail);
}

Picture shelf() {
  Picture picture = blank(kShelf);
  drawBrace(picture);
  drawRail(picture);
  drawPlank(picture);
  drawPost(picture);
  return picture;
}

// ---- banners ---------------------------------------------------------------------------------
struct BarColours {
  Rgb edge, fill, light, shade;
};

constexpr BarColours kTealBar{{0, 82, 92}, {0, 158, 168}, {70, 204, 210}, {0, 128, 140}};
constexpr BarColours kLightTealBar{{0, 120, 130}, {170, 232, 230}, {220, 250, 248}, {130, 208, 208}};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kLetterEdge{0, 70, 80};
constexpr int kBarClip = 3;
constexpr int kWordScale = 3;
constexpr int kWordLeft = 16;
constexpr int kShadowOffset = 2;
constexpr Rgb kLetterShadow{0, 104, 114};
constexpr Rgb kLetterFoot{196, 240, 242};  // the letters' last row of cells, a little shaded

// Recolours the filled pixels from row `from` down.
void fillLowerRows(Picture& picture, int from, Rgb colour) {
  for (int y = std::max(0, from); y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      if (picture.at(x, y).filled) plot(picture, x, y, colour);
    }
  }
}

// A bar with cut corners, a light band along the top and a shaded band along the bottom.
void drawBar(Picture& bar, const BarColours& colours) {
  for (int y = 0; y < bar.height; ++y) {
    for (int x = 0; x < bar.width; ++x) {
      const int dx = std::min(x, bar.width - 1 - x);
      const int dy = std::min(y, bar.height - 1 - y);
      if (dx + dy < kBarClip) continue;
      Rgb colour = colours.fill;
      if (dx == 0 || dy == 0 || dx + dy == kBarClip) colour = colours.edge;
      else if (y <= 3) colour = colours.light;
      else if (y >= bar.height - 5) colour = colours.shade;
      plot(bar, x, y, colour);
    }
  }
}

// Three small gems near the bar's right end, so the long bar does not look unfinished.
constexpr Rgb kGem{132, 226, 230};
constexpr Rgb kGemShine{255, 255, 255};
constexpr Rgb kGemShade{0, 110, 122};
constexpr int kGemCount = 3;
constexpr int kGemSpacing = 14;
constexpr int kGemRadius = 3;

void drawGems(Picture& bar) {
  const int cy = bar.height / 2;
  for (int i = 0; i < kGemCount; ++i) {
    const int cx = bar.width - 18 - i * kGemSpacing;
    for (int dy = -kGemRadius; dy <= kGemRadius; ++dy) {
      const int reach = kGemRadius - std::abs(dy);
      fillRect(bar, cx - reach, cy + dy, 2 * reach + 1, 1, dy > 0 ? kGemShade : kGem);
    }
    plot(bar, cx - 1, cy - 1, kGemShine);
  }
}

Picture wordBanner(const WordBanner& banner) {
  Picture picture = blank(banner.where);
  drawBar(picture, kTealBar);
  drawGems(picture);
  const int top = (picture.height - kGlyphRows * kWordScale) / 2;
  Picture shadow = blank(banner.where);
  drawLatinText(shadow, banner.word, kWordLeft + kShadowOffset, top + kShadowOffset, kWordScale, kLetterShadow);
  stamp(picture, shadow);
  Picture letters = blank(banner.where);
  drawLatinText(letters, banner.word, kWordLeft, top, kWordScale, kWhite);
  fillLowerRows(letters, top + kGlyphRows * kWordScale - kWordScale, kLetterFoot);
  outline(letters, kLetterEdge);
  stamp(picture, letters);
  return picture;
}

// The title's letters: each its own colour, drawn with a 2 x 2 pen so strokes are bold, with a
// white rim and a dark edge so they read on the light bar.
constexpr std::u32string_view kTitle = U"ホリダスα";
constexpr Rgb kTitleColours[] = {{250, 122, 30}, {238, 66, 122}, {250, 190, 0}, {40, 160, 70}, {60, 110, 235}};
constexpr Rgb kTitleEdge{60, 36, 40};
constexpr int kTitleScale = 2;
constexpr int kTitlePen = 1;      // extra pixels of stroke to the right and below
constexpr int kTitleSpacing = 5;  // between two letters' ink boxes

int titleGlyphWidth(const TitleGlyph& glyph) {
  return static_cast<int>(glyph.rows[0].size()) * kTitleScale + kTitlePen;
}

int titleWidth() {
  int width = -kTitleSpacing;
  for (const char32_t code : kTitle) width += titleGlyphWidth(*findGlyph(kTitleGlyphs, code)) + kTitleSpacing;
  return width;
}

Picture titleBanner() {
  Picture picture = blank(kTitleBanner);
  drawBar(picture, kLightTealBar);
  Picture letters = blank(kTitleBanner);
  const int top = (picture.height - (kTitleGlyphRows * kTitleScale + kTitlePen)) / 2;
  int x = (picture.width - titleWidth()) / 2;
  for (std::size_t i = 0; i < kTitle.size(); ++i) {
    const TitleGlyph& glyph = *findGlyph(kTitleGlyphs, kTitle[i]);
    for (int dy = 0; dy <= kTitlePen; ++dy) {
      for (int dx = 0; dx <= kTitlePen; ++dx) {
        drawGlyphRows(letters, glyph.rows.data(), kTitleGlyphRows, x + dx, top + dy, kTitleScale, kTitleColours[i]);
      }
    }
    x += titleGlyphWidth(glyph) + kTitleSpacing;
  }
  outline(letters, kWhite);
  outline(letters, kTitleEdge);
  stamp(picture, letters);
  return picture;
}

}  // namespace

std::vector<Picture> drawnPictures() {
  std::vector<Picture> pictures{bluePanel(), shelf(), titleBanner()};
  for (const WordBanner& banner : kWordBanners) pictures.push_back(wordBanner(banner));
  return pictures;
}

}  // namespace orelog::sheetgen

// orelog-tool sprites FILE.png: a contact sheet of every named sprite region, enlarged, with names.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "../sheetgen/pixel_font.h"
#include "commands.h"
#include "profile/catalogue.h"
#include "picture_output.h"
#include "ui/sprite_regions.h"

namespace orelog::tool {
namespace {

constexpr int kZoom = 4;
constexpr int kNameScale = 2;
constexpr int kGap = 12;          // between cells and around the sheet
constexpr int kNameGap = 4;       // between a name and its picture
constexpr int kSheetWidth = 1700; // wide enough for a banner at 4x
constexpr Pixel kBackground = rgb(150, 150, 150);
constexpr Pixel kRegionEdge = rgb(118, 118, 118);
constexpr Pixel kInk = rgb(24, 24, 24);

struct Entry {
  std::string name;
  SpriteRegion region;
};

struct Cell {
  Entry entry;
  int x = 0, y = 0;
};

std::vector<Entry> entries() {
  std::vector<Entry> list;
  for (const auto& named : sprites::kNamedRegions) list.push_back({named.name, named.region});
  for (int32_t kind = 0; kind < kItemKindCount; ++kind) {
    list.push_back({"item " + std::to_string(kind), itemRegion(kind)});
  }
  return list;
}

const sheetgen::Glyph& glyphFor(char c) {
  const char32_t upper = static_cast<char32_t>(std::toupper(static_cast<unsigned char>(c)));
  const sheetgen::Glyph* glyph = sheetgen::findGlyph(sheetgen::kLatinGlyphs, upper);
  return glyph != nullptr ? *glyph : *sheetgen::findGlyph(sheetgen::kLatinGlyphs, U'?');
}

int nameWidth(const std::string& name) {
  int cells = 0;
  for (const char c : name) cells += static_cast<int>(glyphFor(c).rows[0].size()) + 1;
  return cells * kNameScale;
}

int cellWidth(const Entry& e) { return std::max(nameWidth(e.name), e.region.width * kZoom + 2); }
int cellHeight(const Entry& e) { return sheetgen::kGlyphRows * kNameScale + kNameGap + e.region.height * kZoom + 2; }

// Cells left to right, wrapping to a new row when the sheet's width is used up.
std::vector<Cell> layOut(const std::vector<Entry>& list, int& height) {
  std::vector<Cell> cells;
  int x = kGap, y = kGap, rowHeight = 0;
  for (const Entry& e : list) {
    if (x + cellWidth(e) + kGap > kSheetWidth && x > kGap) {
      x = kGap;
      y += rowHeight + kGap;
      rowHeight = 0;
    }
    cells.push_back({e, x, y});
    x += cellWidth(e) + kGap;
    rowHeight = std::max(rowHeight, cellHeight(e));
  }
  height = y + rowHeight + kGap;
  return cells;
}

void fill(Canvas& canvas, int x, int y, int width, int height, Pixel colour) {
  for (int py = std::max(0, y); py < std::min(canvas.height, y + height); ++py) {
    for (int px = std::max(0, x); px < std::min(canvas.width, x + width); ++px) canvas.at(px, py) = colour;
  }
}

void drawName(Canvas& canvas, const std::string& name, int x, int y) {
  for (const char c : name) {
    const sheetgen::Glyph& glyph = glyphFor(c);
    for (int row = 0; row < sheetgen::kGlyphRows; ++row) {
      for (std::size_t column = 0; column < glyph.rows[row].size(); ++column) {
        if (glyph.rows[row][column] != '#') continue;
        fill(canvas, x + static_cast<int>(column) * kNameScale, y + row * kNameScale, kNameScale, kNameScale, kInk);
      }
    }
    x += (static_cast<int>(glyph.rows[0].size()) + 1) * kNameScale;
  }
}

bool insideSheet(const SpriteRegion& r, const SpriteSheets& sheets) {
  return r.x >= 0 && r.y >= 0 && r.x + r.width <= sheets.colour.width && r.y + r.height <= sheets.colour.height &&
         sheets.mask.width == sheets.colour.width && sheets.mask.height == sheets.colour.height;
}

// The region's picture enlarged inside a one-pixel frame that shows the region's extent.
void drawRegion(Canvas& canvas, const SpriteSheets& sheets, const SpriteRegion& r, int x, int y) {
  fill(canvas, x, y, r.width * kZoom + 2, r.height * kZoom + 2, kRegionEdge);
  fill(canvas, x + 1, y + 1, r.width * kZoom, r.height * kZoom, kBackground);
  if (!insideSheet(r, sheets)) return;
  for (int sy = 0; sy < r.height; ++sy) {
    for (int sx = 0; sx < r.width; ++sx) {
      if ((sheets.mask.at(r.x + sx, r.y + sy) & 0xffffff) == 0) continue;
      fill(canvas, x + 1 + sx * kZoom, y + 1 + sy * kZoom, kZoom, kZoom, sheets.colour.at(r.x + sx, r.y + sy));
    }
  }
}

}  // namespace

int runSprites(const Args& args) {
  if (args.size() != 1) {
    std::fputs("usage: orelog-tool sprites FILE.png\n", stderr);
    return 2;
  }
  const auto sheets = loadSheetsOrSay();
  if (!sheets) return 1;
  int height = 0;
  const std::vector<Cell> cells = layOut(entries(), height);
  Canvas canvas = makeCanvas(kSheetWidth, height);
  fill(canvas, 0, 0, canvas.width, canvas.height, kBackground);
  for (const Cell& cell : cells) {
    drawName(canvas, cell.entry.name, cell.x, cell.y);
    drawRegion(canvas, *sheets, cell.entry.region, cell.x, cell.y + sheetgen::kGlyphRows * kNameScale + kNameGap);
  }
  return writePngOrSay(canvas, args[0]) ? 0 : 1;
}

}  // namespace orelog::tool

// Drawing into a picture by code: rectangles, lines, lettering and outlines, clipped to the picture.
#include "raster.h"

#include <algorithm>
#include <cassert>
#include <cstdlib>

#include "pixel_font.h"

namespace orelog::sheetgen {

namespace {

constexpr char kInk = '#';
constexpr int kLetterGap = 1;  // cells between two letters

bool inside(const Picture& picture, int x, int y) {
  return x >= 0 && y >= 0 && x < picture.width && y < picture.height;
}

}  // namespace

void plot(Picture& picture, int x, int y, Rgb colour) {
  if (inside(picture, x, y)) picture.at(x, y) = ArtPixel{colour.r, colour.g, colour.b, true};
}

void fillRect(Picture& picture, int x, int y, int width, int height, Rgb colour) {
  for (int py = y; py < y + height; ++py) {
    for (int px = x; px < x + width; ++px) plot(picture, px, py, colour);
  }
}

void drawLine(Picture& picture, int x0, int y0, int x1, int y1, Rgb colour) {
  const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
  const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
  int error = dx + dy;
  while (true) {
    plot(picture, x0, y0, colour);
    if (x0 == x1 && y0 == y1) return;
    const int twice = 2 * error;
    if (twice >= dy) error += dy, x0 += sx;
    if (twice <= dx) error += dx, y0 += sy;
  }
}

void stamp(Picture& picture, const Picture& layer) {
  assert(layer.width == picture.width && layer.height == picture.height && "a layer covers its picture");
  for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
    if (layer.pixels[i].filled) picture.pixels[i] = layer.pixels[i];
  }
}

bool touchesFilled(const Picture& picture, int x, int y) {
  for (int ny = y - 1; ny <= y + 1; ++ny) {
    for (int nx = x - 1; nx <= x + 1; ++nx) {
      if (inside(picture, nx, ny) && picture.at(nx, ny).filled) return true;
    }
  }
  return false;
}

void outline(Picture& picture, Rgb colour) {
  const Picture before = picture;
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      if (!before.at(x, y).filled && touchesFilled(before, x, y)) plot(picture, x, y, colour);
    }
  }
}

int drawGlyphRows(Picture& picture, const std::string_view* rows, int rowCount, int x, int y, int scale,
                  Rgb colour) {
  int width = 0;
  for (int row = 0; row < rowCount; ++row) {
    const std::string_view cells = rows[row];
    width = std::max(width, static_cast<int>(cells.size()));
    for (int column = 0; column < static_cast<int>(cells.size()); ++column) {
      if (cells[static_cast<std::size_t>(column)] == kInk) {
        fillRect(picture, x + column * scale, y + row * scale, scale, scale, colour);
      }
    }
  }
  return width;
}

int drawLatinText(Picture& picture, std::u32string_view text, int x, int y, int scale, Rgb colour) {
  int cursor = x;
  for (const char32_t code : text) {
    const Glyph* glyph = findGlyph(kLatinGlyphs, code);
    if (glyph == nullptr) glyph = findGlyph(kLatinGlyphs, U'?');
    const int cells = drawGlyphRows(picture, glyph->rows.data(), kGlyphRows, cursor, y, scale, colour);
    cursor += (cells + kLetterGap) * scale;
  }
  return text.empty() ? 0 : cursor - x - kLetterGap * scale;
}

int latinTextWidth(std::u32string_view text, int scale) {
  int cells = 0;
  for (const char32_t code : text) {
    const Glyph* glyph = findGlyph(kLatinGlyphs, code);
    if (glyph == nullptr) glyph = findGlyph(kLatinGlyphs, U'?');
    cells += static_cast<int>(glyph->rows[0].size()) + kLetterGap;
  }
  return text.empty() ? 0 : (cells - kLetterGap) * scale;
}

}  // namespace orelog::sheetgen

// Drawing into a picture by code: rectangles, lines, lettering and outlines, clipped to the picture.
#pragma once
#include <array>
#include <cstdint>
#include <string_view>

#include "art_picture.h"

namespace orelog::sheetgen {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
};

void plot(Picture& picture, int x, int y, Rgb colour);
void fillRect(Picture& picture, int x, int y, int width, int height, Rgb colour);
// Both end points included.
void drawLine(Picture& picture, int x0, int y0, int x1, int y1, Rgb colour);
// Colours every transparent pixel that touches a filled one (8 neighbours) in `colour`.
void outline(Picture& picture, Rgb colour);

// Copies the filled pixels of a layer of the same size over the picture.
void stamp(Picture& picture, const Picture& layer);

// Ink of one glyph row set, each ink cell a scale x scale block; returns the glyph's width in cells.
int drawGlyphRows(Picture& picture, const std::string_view* rows, int rowCount, int x, int y, int scale,
                  Rgb colour);
// A line of Latin text in the 5 x 7 font, one column between letters; returns the width drawn.
int drawLatinText(Picture& picture, std::u32string_view text, int x, int y, int scale, Rgb colour);
// The width drawLatinText would take.
int latinTextWidth(std::u32string_view text, int scale);

}  // namespace orelog::sheetgen

// The two sheets being built: pictures placed where they ask, with the layout checks.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "art_picture.h"
#include "ui/sprite_regions.h"

namespace orelog::sheetgen {

// The game's sheet size: the sheets it decodes must be exactly this large.
using sprites::kSheetSize;

// Both sheets as packed RGB rows, 3 bytes a pixel.
struct Sheets {
  int size = kSheetSize;
  std::vector<uint8_t> colour;  // white wherever no picture has a pixel
  std::vector<uint8_t> mask;    // white on picture pixels, black elsewhere
};

Sheets blankSheets(int size = kSheetSize);

// Checks that every picture lies inside the sheet and that no two rectangles overlap;
// returns "FILE:LINE: what is wrong" for the first fault, or an empty string.
std::string checkLayout(const std::vector<Picture>& pictures, int sheetSize = kSheetSize);

// Draws a picture that passed checkLayout onto both sheets.
void drawPicture(Sheets& sheets, const Picture& picture);

}  // namespace orelog::sheetgen

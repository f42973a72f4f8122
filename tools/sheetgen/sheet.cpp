// The two sheets being built: pictures placed where they ask, with the layout checks.
#include "sheet.h"

#include <cassert>
#include <cstdint>

namespace orelog::sheetgen {

namespace {

constexpr uint8_t kWhite = 255;
constexpr uint8_t kBlack = 0;
constexpr std::size_t kChannels = 3;

std::string where(const Picture& picture) {
  return picture.source + ":" + std::to_string(picture.line);
}

std::string describe(const Picture& picture) {
  return "picture \"" + picture.name + "\" (" + std::to_string(picture.width) + " x " +
         std::to_string(picture.height) + " at " + std::to_string(picture.x) + ", " +
         std::to_string(picture.y) + ")";
}

// In 64 bits so that coordinates near the int limits cannot overflow.
bool insideSheet(const Picture& p, int size) {
  return p.x >= 0 && p.y >= 0 && int64_t{p.x} + p.width <= size && int64_t{p.y} + p.height <= size;
}

bool overlap(const Picture& a, const Picture& b) {
  return int64_t{a.x} < int64_t{b.x} + b.width && int64_t{b.x} < int64_t{a.x} + a.width &&
         int64_t{a.y} < int64_t{b.y} + b.height && int64_t{b.y} < int64_t{a.y} + a.height;
}

}  // namespace

Sheets blankSheets(int size) {
  const std::size_t bytes = static_cast<std::size_t>(size) * size * kChannels;
  return {size, std::vector<uint8_t>(bytes, kWhite), std::vector<uint8_t>(bytes, kBlack)};
}

std::string checkLayout(const std::vector<Picture>& pictures, int sheetSize) {
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    const Picture& picture = pictures[i];
    if (!insideSheet(picture, sheetSize)) {
      return where(picture) + ": " + describe(picture) + " lies outside the " + std::to_string(sheetSize) +
             " x " + std::to_string(sheetSize) + " sheet";
    }
    for (std::size_t j = 0; j < i; ++j) {
      if (overlap(pictures[j], picture)) {
        return where(picture) + ": " + describe(picture) + " overlaps " + describe(pictures[j]) + " from " +
               where(pictures[j]);
      }
    }
  }
  return {};
}

void drawPicture(Sheets& sheets, const Picture& picture) {
  assert(insideSheet(picture, sheets.size) && "pictures are checked before they are drawn");
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const ArtPixel& pixel = picture.at(x, y);
      if (!pixel.filled) continue;
      const std::size_t at = (static_cast<std::size_t>(picture.y + y) * sheets.size + picture.x + x) * kChannels;
      sheets.colour[at] = pixel.r;
      sheets.colour[at + 1] = pixel.g;
      sheets.colour[at + 2] = pixel.b;
      sheets.mask[at] = sheets.mask[at + 1] = sheets.mask[at + 2] = kWhite;
    }
  }
}

}  // namespace orelog::sheetgen

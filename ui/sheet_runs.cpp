// Compiling the sheets' pictures into runs, and copying their rows run by run.
#include "ui/sheet_runs.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>
#include <map>
#include <utility>
#include <vector>

#include "profile/catalogue.h"
#include "ui/sprite_regions.h"

namespace orelog {

namespace {

constexpr Pixel kWhite = rgb(255, 255, 255);

// Run bounds are 16-bit columns of a picture, and corners are looked up as 16-bit coordinates.
constexpr int kLargestIndexedSheet = std::numeric_limits<uint16_t>::max();

// Whether the sprite copy changes the canvas pixel under a sheet pixel, and how.
enum class PixelKind { Keep, Replace, Combine };

PixelKind kindOf(Pixel mask, Pixel colour) {
  if (mask == 0 && colour == kWhite) return PixelKind::Keep;
  if ((mask & colour) == colour) return PixelKind::Replace;
  return PixelKind::Combine;
}

uint32_t cornerKey(int32_t x, int32_t y) {
  return static_cast<uint32_t>(y) << 16 | static_cast<uint32_t>(x);
}

std::size_t cornerSlot(uint32_t key, std::size_t slots) {
  return (key * 0x9E3779B1u >> 16) & (slots - 1);
}

// Every picture the pages draw, each cut picture merged into the whole one at its corner.
std::vector<SpriteRegion> drawnPictures() {
  std::vector<SpriteRegion> all;
  for (const sprites::NamedRegion& named : sprites::kNamedRegions) all.push_back(named.region);
  using namespace sprites;
  all.insert(all.end(), {kFrameTopLeft, kFrameTopRight, kFrameBottomRight, kFrameBottomLeft, kFrameTop,
                         kFrameRight, kFrameBottom, kFrameLeft, kFrameCentre});
  for (int32_t kind = 0; kind < kItemKindCount; ++kind) all.push_back(itemRegion(kind));
  std::map<std::pair<int32_t, int32_t>, SpriteRegion> byCorner;
  for (const SpriteRegion& region : all) {
    SpriteRegion& merged = byCorner.try_emplace({region.y, region.x}, region).first->second;
    merged.width = std::max(merged.width, region.width);
    merged.height = std::max(merged.height, region.height);
  }
  std::vector<SpriteRegion> pictures;
  for (const auto& entry : byCorner) pictures.push_back(entry.second);
  return pictures;
}

bool insideSheets(const SpriteSheets& sheets, const SpriteRegion& r) {
  return r.x >= 0 && r.y >= 0 && r.width > 0 && r.height > 0 && r.width <= sheets.colour.width - r.x &&
         r.height <= sheets.colour.height - r.y;
}

// Appends the runs and pixels of row y of the region (sheet coordinates).
void compileRow(const SpriteSheets& sheets, const SpriteRegion& region, int y, SheetRuns& index) {
  const auto kindAt = [&](int x) { return kindOf(sheets.mask.at(x, y), sheets.colour.at(x, y)); };
  const int right = region.x + region.width;
  for (int x = region.x; x < right;) {
    const PixelKind kind = kindAt(x);
    const int start = x;
    while (x < right && kindAt(x) == kind) ++x;
    if (kind == PixelKind::Keep) continue;
    const bool replaces = kind == PixelKind::Replace;
    index.runs.push_back({static_cast<uint16_t>(start - region.x), static_cast<uint16_t>(x - region.x),
                          replaces ? RunKind::Replace : RunKind::Combine,
                          static_cast<uint32_t>(index.pixels.size())});
    if (!replaces)
      for (int c = start; c < x; ++c) index.pixels.push_back(sheets.mask.at(c, y));
    for (int c = start; c < x; ++c) index.pixels.push_back(sheets.colour.at(c, y));
  }
}

CompiledSprite compile(const SpriteSheets& sheets, const SpriteRegion& region, SheetRuns& index) {
  const CompiledSprite sprite{region, static_cast<uint32_t>(index.rows.size())};
  for (int y = region.y; y < region.y + region.height; ++y) {
    index.rows.push_back({static_cast<uint32_t>(index.runs.size()), false});
    compileRow(sheets, region, y, index);
  }
  return sprite;
}

// Marks each row of the sprite that replaces every pixel with the same colours as the row above.
// Runs once every row, the closing one included, has its runs.
void markRepeatedRows(SheetRuns& index, const CompiledSprite& sprite) {
  const Pixel* above = solidRowColours(index, sprite, 0);
  for (int row = 1; row < sprite.region.height; ++row) {
    const Pixel* colours = solidRowColours(index, sprite, row);
    index.rows[sprite.firstRow + static_cast<std::size_t>(row)].repeatsAbove =
        above && colours && std::equal(above, above + sprite.region.width, colours);
    above = colours;
  }
}

void insert(SheetRuns& index, const CompiledSprite& sprite) {
  const uint32_t key = cornerKey(sprite.region.x, sprite.region.y);
  std::size_t slot = cornerSlot(key, index.sprites.size());
  while (index.sprites[slot].region.width != 0) slot = (slot + 1) & (index.sprites.size() - 1);
  index.sprites[slot] = sprite;
}

bool indexFits(const SpriteSheets& sheets) {
  const SheetRuns& index = sheets.runs;
  return !index.sprites.empty() && index.width == sheets.colour.width && index.width == sheets.mask.width &&
         index.height == sheets.colour.height && index.height == sheets.mask.height;
}

// Picture columns [from, to) of a run onto `out`, where column `from` lands.
inline void drawRunPart(const SpriteRun& run, const Pixel* packed, int from, int to, Pixel* out) {
  const Pixel* pixels = packed + run.pixels + (from - run.start);
  if (run.kind == RunKind::Replace) {
    copyPixels(out, pixels, to - from);
  } else {
    combineRow(out, pixels, pixels + (run.end - run.start), to - from);
  }
}

}  // namespace

void indexSheetRuns(SpriteSheets& sheets) {
  sheets.runs = {};
  const Image& colour = sheets.colour;
  const Image& mask = sheets.mask;
  const std::size_t pixels = static_cast<std::size_t>(std::max(colour.width, 0)) *
                             static_cast<std::size_t>(std::max(colour.height, 0));
  const bool indexable = colour.width == mask.width && colour.height == mask.height && colour.width > 0 &&
                         colour.height > 0 && colour.width <= kLargestIndexedSheet &&
                         colour.height <= kLargestIndexedSheet && colour.pixels.size() >= pixels &&
                         mask.pixels.size() >= pixels;
  if (!indexable) return;

  std::vector<SpriteRegion> pictures = drawnPictures();
  std::erase_if(pictures, [&](const SpriteRegion& r) { return !insideSheets(sheets, r); });
  if (pictures.empty()) return;
  SheetRuns index{colour.width, colour.height, {}, {}, {}, {}};
  index.sprites.resize(std::bit_ceil(2 * pictures.size()));
  for (const SpriteRegion& picture : pictures) insert(index, compile(sheets, picture, index));
  index.rows.push_back({static_cast<uint32_t>(index.runs.size()), false});
  for (const CompiledSprite& sprite : index.sprites)
    if (sprite.region.width != 0) markRepeatedRows(index, sprite);
  sheets.runs = std::move(index);
}

const CompiledSprite* findCompiledSprite(const SpriteSheets& sheets, const SpriteRegion& region) {
  if (!indexFits(sheets)) return nullptr;
  const std::vector<CompiledSprite>& slots = sheets.runs.sprites;
  for (std::size_t slot = cornerSlot(cornerKey(region.x, region.y), slots.size());
       slots[slot].region.width != 0; slot = (slot + 1) & (slots.size() - 1)) {
    const SpriteRegion& compiled = slots[slot].region;
    if (compiled.x == region.x && compiled.y == region.y)
      return region.width <= compiled.width && region.height <= compiled.height ? &slots[slot] : nullptr;
  }
  return nullptr;
}

void drawCompiledRows(const SheetRuns& index, const CompiledSprite& sprite, int row, int rows, int from,
                      int to, Pixel* dest, std::ptrdiff_t destStride) {
  const SpriteRow* spriteRow = index.rows.data() + sprite.firstRow + row;
  const SpriteRun* const runs = index.runs.data();
  const Pixel* const packed = index.pixels.data();
  const bool whole = from == 0 && to == sprite.region.width;
  for (int r = 0; r < rows; ++r, ++spriteRow) {
    Pixel* out = dest + r * destStride;  // where column `from` lands
    const SpriteRun* const end = runs + spriteRow[1].firstRun;
    const SpriteRun* run = runs + spriteRow[0].firstRun;
    if (whole) {
      for (; run != end; ++run) drawRunPart(*run, packed, run->start, run->end, out + run->start);
      continue;
    }
    for (; run != end && run->start < to; ++run) {
      const int a = std::max<int>(run->start, from);
      const int b = std::min<int>(run->end, to);
      if (a < b) drawRunPart(*run, packed, a, b, out + (a - from));
    }
  }
}

void drawCompiledRowOn(const SheetRuns& index, const CompiledSprite& sprite, int row, int from, int to,
                       Pixel* dest, Pixel background) {
  const SpriteRow* spriteRow = index.rows.data() + sprite.firstRow + row;
  const SpriteRun* const end = index.runs.data() + spriteRow[1].firstRun;
  int painted = from;  // the background lies on columns [from, painted)
  for (const SpriteRun* run = index.runs.data() + spriteRow[0].firstRun; run != end && run->start < to;
       ++run) {
    const int a = std::max<int>(run->start, from);
    const int b = std::min<int>(run->end, to);
    if (a >= b) continue;
    const int kept = run->kind == RunKind::Replace ? a : b;  // a combined run shows the background
    fillPixels(dest + (painted - from), background, kept - painted);
    drawRunPart(*run, index.pixels.data(), a, b, dest + (a - from));
    painted = b;
  }
  fillPixels(dest + (painted - from), background, to - painted);
}

const Pixel* solidRowColours(const SheetRuns& index, const CompiledSprite& sprite, int row) {
  const SpriteRow* r = index.rows.data() + sprite.firstRow + row;
  if (r[1].firstRun != r[0].firstRun + 1) return nullptr;
  const SpriteRun& run = index.runs[r[0].firstRun];
  const bool solid = run.kind == RunKind::Replace && run.start == 0 && run.end == sprite.region.width;
  return solid ? index.pixels.data() + run.pixels : nullptr;
}

}  // namespace orelog

// The sheets' pictures compiled into runs, and sprite rows copied run by run.
#pragma once
#include <cstddef>

#include "ui/canvas.h"
#include "ui/pixel_rows.h"

namespace orelog {

// Compiles every picture the pages draw (cut pictures share their whole picture's top-left
// corner and are drawn from it). Call it once the sheets' pixels are final; sheets of a size the
// index cannot hold stay unindexed.
void indexSheetRuns(SpriteSheets& sheets);

// The compiled picture with the region's top-left corner that covers the whole region, if the
// sheets are indexed and hold one.
const CompiledSprite* findCompiledSprite(const SpriteSheets& sheets, const SpriteRegion& region);

// Rows [row, row + rows) and columns [from, to) of a compiled picture onto `dest` (where the
// first row's column `from` lands) and the canvas rows `destStride` pixels apart below it, as
// (canvas OR mask) AND colour would leave canvas pixels whose top byte is clear (as every page
// leaves them). The caller has clipped the block to the picture and the canvas.
void drawCompiledRows(const SheetRuns& index, const CompiledSprite& sprite, int row, int rows, int from,
                      int to, Pixel* dest, std::ptrdiff_t destStride);

// The same for one row over a background not yet painted: as if [from, to) were filled with
// `background` first, but pixels the picture replaces are written once.
void drawCompiledRowOn(const SheetRuns& index, const CompiledSprite& sprite, int row, int from, int to,
                       Pixel* dest, Pixel background);

// The colours of a row that replaces every pixel of the picture, or none.
const Pixel* solidRowColours(const SheetRuns& index, const CompiledSprite& sprite, int row);

// True when the row replaces every pixel with the same colours as the row above it.
inline bool rowRepeatsAbove(const SheetRuns& index, const CompiledSprite& sprite, int row) {
  return index.rows[sprite.firstRow + static_cast<std::size_t>(row)].repeatsAbove;
}

}  // namespace orelog

// The run index of the sprite sheets, and the copy of one sheet row span through the mask.
#pragma once
#include <cstring>

#include "ui/canvas.h"

namespace orelog {

// Splits every row of the sheets into runs by how a sprite copy treats them. Call it once the
// sheets' pixels are final; sheets of a width the index cannot hold stay unindexed.
void indexSheetRuns(SpriteSheets& sheets);

// (canvas OR mask) AND colour for `length` pixels of sheet row `row` from column `column` onto
// `dest`. The caller has clipped the span to the sheets and the canvas. With a run index that
// fits the sheets, empty runs are skipped and solid runs copied plainly, with the same result for
// canvas pixels whose top byte is clear (as every page leaves them).
void copySheetSpan(const SpriteSheets& sheets, int row, int column, int length, Pixel* dest);

// Spans shorter than this are combined whole: looking up their runs would cost more than it saves.
inline constexpr int kShortestIndexedSpan = 64;

// True when the `length` sheet pixels of `row` from `column` all replace the canvas with their
// colour (the sheets are indexed and the span lies in one solid run).
bool isSolidSpan(const SpriteSheets& sheets, int row, int column, int length);

// (dest OR mask) AND colour, pixel by pixel. Four pixels at a time where the compiler offers
// vector types, since plain loops are not vectorised at -O2 for the short rows of most sprites.
inline void combineRow(Pixel* dest, const Pixel* mask, const Pixel* colour, int length) {
  int i = 0;
#if defined(__GNUC__)
  using Quad = Pixel __attribute__((vector_size(4 * sizeof(Pixel))));
  for (; i + 4 <= length; i += 4) {
    Quad d, m, c;
    std::memcpy(&d, dest + i, sizeof d);
    std::memcpy(&m, mask + i, sizeof m);
    std::memcpy(&c, colour + i, sizeof c);
    d = (d | m) & c;
    std::memcpy(dest + i, &d, sizeof d);
  }
#endif
  for (; i < length; ++i) dest[i] = (dest[i] | mask[i]) & colour[i];
}

}  // namespace orelog

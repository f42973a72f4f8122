// A rasterised text's coverage kept with its inked stretches, the rim an outline leaves around it,
// and their blend onto the canvas.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "ui/canvas.h"

namespace orelog {

inline constexpr int kFullCoverage = 255;
// Pixels are blended in groups of this many at once.
inline constexpr int kBlendGroup = 4;

// Columns [from, to) of one row, in whole groups, that hold ink.
struct InkedStretch {
  int32_t from = 0;
  int32_t to = 0;
};

// Coverage 0 (empty) to kFullCoverage, placed offsetX/offsetY from the text's logical top-left
// corner. Drawing visits only the inked stretches, so the gaps between words and the empty margins
// cost nothing. Each pixel's coverage stands in all four bytes of a word, as the blend of a group
// wants it, and each row is padded with empty coverage to a whole number of groups.
struct CoverageStrip {
  int offsetX = 0;
  int offsetY = 0;
  int width = 0;
  int height = 0;
  int stride = 0;                       // coverage words per row: width rounded up to whole groups
  std::vector<uint32_t> coverage;       // row-major
  std::vector<InkedStretch> stretches;  // row after row, left to right
  std::vector<int32_t> rowStarts;       // the stretches of row y are [rowStarts[y], rowStarts[y + 1])

  std::size_t bytes() const;  // the memory it holds
};

// A strip over the given coverage, width * height bytes row after row.
CoverageStrip makeCoverageStrip(int offsetX, int offsetY, int width, int height,
                                const std::vector<uint8_t>& coverage);

// What the strip drawn one pixel off in each of the eight directions leaves, as one strip: the
// eight coverages laid one over another, as eight blends in one colour combine. Where the strip
// itself is full the rim is left empty, since the text drawn on top hides it there.
CoverageStrip outlineRim(const CoverageStrip& strip);

// Blends colour through the strip onto the canvas, the strip placed at (x, y) plus its offsets and
// clipped to the canvas: c = (colour * a + under * (255 - a) + 127) / 255 per channel.
void blendStrip(Canvas& canvas, const CoverageStrip& strip, int x, int y, Pixel colour);

}  // namespace orelog

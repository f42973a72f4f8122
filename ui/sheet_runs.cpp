// Splitting the sheet rows into runs, and copying sheet spans run by run.
#include "ui/sheet_runs.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace orelog {

namespace {

constexpr Pixel kWhite = rgb(255, 255, 255);

RunKind kindOf(Pixel mask, Pixel colour) {
  if (mask == 0 && colour == kWhite) return RunKind::Keep;
  if ((mask & colour) == colour) return RunKind::Replace;
  return RunKind::Combine;
}

constexpr int kKindShift = 14;
constexpr int kLongestCell = (1 << kKindShift) - 1;

bool indexFits(const SpriteSheets& sheets) {
  const SheetRuns& index = sheets.runs;
  return index.width > 0 && index.width == sheets.colour.width && index.width == sheets.mask.width &&
         index.height == sheets.colour.height && index.height == sheets.mask.height &&
         index.cells.size() == static_cast<std::size_t>(index.width) * static_cast<std::size_t>(index.height);
}

// Runs shorter than this are combined with their neighbours: a short copy or skip costs more
// than combining its pixels along with the rest.
constexpr int kShortestRun = 16;

struct Run {
  int start;
  RunKind kind;
};

// Row y's runs, short ones merged into combined spans.
std::vector<Run> rowRuns(const SpriteSheets& sheets, int y) {
  const int width = sheets.colour.width;
  std::vector<Run> exact;
  for (int x = 0; x < width; ++x) {
    const RunKind kind = kindOf(sheets.mask.at(x, y), sheets.colour.at(x, y));
    if (exact.empty() || exact.back().kind != kind) exact.push_back({x, kind});
  }
  std::vector<Run> merged;
  for (std::size_t i = 0; i < exact.size(); ++i) {
    const int end = i + 1 < exact.size() ? exact[i + 1].start : width;
    const RunKind kind = end - exact[i].start < kShortestRun ? RunKind::Combine : exact[i].kind;
    if (merged.empty() || merged.back().kind != kind) merged.push_back({exact[i].start, kind});
  }
  return merged;
}

// Writes row y's cells: each pixel's run kind and the pixels left in the run, counting down.
void writeRowCells(uint16_t* cells, const std::vector<Run>& runs, int width) {
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const int end = i + 1 < runs.size() ? runs[i + 1].start : width;
    for (int x = runs[i].start; x < end; ++x) {
      const int left = std::min(end - x, kLongestCell);
      cells[x] = static_cast<uint16_t>(static_cast<int>(runs[i].kind) << kKindShift | left);
    }
  }
}

}  // namespace

void indexSheetRuns(SpriteSheets& sheets) {
  sheets.runs = {};
  const Image& colour = sheets.colour;
  const Image& mask = sheets.mask;
  const std::size_t pixels = static_cast<std::size_t>(colour.width) * static_cast<std::size_t>(colour.height);
  const bool sameShape = colour.width == mask.width && colour.height == mask.height && colour.width > 0 &&
                         colour.height > 0 && colour.pixels.size() >= pixels && mask.pixels.size() >= pixels;
  if (!sameShape) return;

  SheetRuns index{colour.width, colour.height, std::vector<uint16_t>(pixels)};
  for (int y = 0; y < colour.height; ++y)
    writeRowCells(index.cells.data() + static_cast<std::size_t>(y) * colour.width, rowRuns(sheets, y),
                  colour.width);
  sheets.runs = std::move(index);
}

bool isSolidSpan(const SpriteSheets& sheets, int row, int column, int length) {
  if (!indexFits(sheets)) return false;
  const uint16_t cell =
      sheets.runs.cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(sheets.runs.width) +
                        static_cast<std::size_t>(column)];
  return static_cast<RunKind>(cell >> kKindShift) == RunKind::Replace && (cell & kLongestCell) >= length;
}

void copySheetSpan(const SpriteSheets& sheets, int row, int column, int length, Pixel* dest) {
  const auto at = [row, column](const auto& pixels, int width) {
    return pixels.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(width) +
           static_cast<std::size_t>(column);
  };
  const Pixel* colour = at(sheets.colour.pixels, sheets.colour.width);
  const Pixel* mask = at(sheets.mask.pixels, sheets.mask.width);
  if (length < kShortestIndexedSpan || !indexFits(sheets)) return combineRow(dest, mask, colour, length);

  const uint16_t* cells = at(sheets.runs.cells, sheets.runs.width);
  for (int x = 0; x < length;) {
    const uint16_t cell = cells[x];
    const int n = std::min<int>(cell & kLongestCell, length - x);
    const auto kind = static_cast<RunKind>(cell >> kKindShift);
    if (kind == RunKind::Replace) {
      std::memcpy(dest + x, colour + x, static_cast<std::size_t>(n) * sizeof(Pixel));
    } else if (kind == RunKind::Combine) {
      combineRow(dest + x, mask + x, colour + x, n);
    }
    x += n;
  }
}

}  // namespace orelog

// The rule for the two sprite sheets: both decode and both are exactly the sheet size.
#include "ui/sheet_decoding.h"

#include <utility>

#include "ui/sheet_runs.h"
#include "ui/sprite_regions.h"

namespace orelog {

namespace {

std::optional<Image> decodeSheet(std::span<const uint8_t> bytes, const PngDecoder& decode) {
  std::optional<Image> sheet = decode(bytes);
  if (!sheet || sheet->width != sprites::kSheetSize || sheet->height != sprites::kSheetSize)
    return std::nullopt;
  return sheet;
}

}  // namespace

std::optional<SpriteSheets> decodeSheets(std::span<const uint8_t> colourPng, std::span<const uint8_t> maskPng,
                                         const PngDecoder& decode) {
  std::optional<Image> colour = decodeSheet(colourPng, decode);
  if (!colour) return std::nullopt;
  std::optional<Image> mask = decodeSheet(maskPng, decode);
  if (!mask) return std::nullopt;
  SpriteSheets sheets{std::move(*colour), std::move(*mask)};
  indexSheetRuns(sheets);
  return sheets;
}

}  // namespace orelog

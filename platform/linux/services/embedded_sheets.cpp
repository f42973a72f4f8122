// Decoding the two sprite sheets that the build compiles into the program.
#include "embedded_sheets.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>

#include "png_codec.h"
#include "ui/sprite_regions.h"

#ifdef ORELOG_HAVE_EMBEDDED_SHEETS
extern const unsigned char orelog_sheet_colour_png[];
extern const std::size_t orelog_sheet_colour_png_size;
extern const unsigned char orelog_sheet_mask_png[];
extern const std::size_t orelog_sheet_mask_png_size;
#endif

namespace orelog {

namespace {

std::optional<Image> decodeSheet(std::span<const uint8_t> bytes) {
  std::optional<Image> sheet = decodePngBytes(bytes);
  if (!sheet || sheet->width != sprites::kSheetSize || sheet->height != sprites::kSheetSize)
    return std::nullopt;
  return sheet;
}

}  // namespace

std::optional<SpriteSheets> decodeSheets(std::span<const uint8_t> colourPng, std::span<const uint8_t> maskPng) {
  // The mask is not decoded when the colour sheet already failed.
  std::optional<Image> colour = decodeSheet(colourPng);
  if (!colour) return std::nullopt;
  std::optional<Image> mask = decodeSheet(maskPng);
  if (!mask) return std::nullopt;
  return SpriteSheets{std::move(*colour), std::move(*mask)};
}

std::optional<SpriteSheets> loadEmbeddedSheets() {
#ifdef ORELOG_HAVE_EMBEDDED_SHEETS
  return decodeSheets({orelog_sheet_colour_png, orelog_sheet_colour_png_size},
                      {orelog_sheet_mask_png, orelog_sheet_mask_png_size});
#else
  // This build was made before the sheets were drawn: there is nothing to load.
  return std::nullopt;
#endif
}

}  // namespace orelog

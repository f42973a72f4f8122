// Decoding the two sprite sheets that the build compiles into the program.
#include "embedded_sheets.h"

#include <cstddef>
#include <cstdint>
#include <span>

#include "png_codec.h"
#include "ui/sheet_decoding.h"

#ifdef ORELOG_HAVE_EMBEDDED_SHEETS
extern const unsigned char orelog_sheet_colour_png[];
extern const std::size_t orelog_sheet_colour_png_size;
extern const unsigned char orelog_sheet_mask_png[];
extern const std::size_t orelog_sheet_mask_png_size;
#endif

namespace orelog {

std::optional<SpriteSheets> decodeSheets(std::span<const uint8_t> colourPng,
                                         std::span<const uint8_t> maskPng) {
  return decodeSheets(colourPng, maskPng, decodePngBytes);
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

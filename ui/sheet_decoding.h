// The rule for the two sprite sheets: both decode and both are exactly the sheet size; and the
// program's own sheets under that rule.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "services/embedded_sheets.h"
#include "services/png_codec.h"
#include "ui/canvas.h"

namespace orelog {

// A platform's PNG decoder: nullopt when the bytes are not a readable PNG.
using PngDecoder = std::function<std::optional<Image>(std::span<const uint8_t>)>;

// The two sheets from their PNG bytes; nullopt when either fails to decode or is not
// 1024 x 1024. The mask is not decoded when the colour sheet already failed. The sheets come
// with their run index.
std::optional<SpriteSheets> decodeSheets(std::span<const uint8_t> colourPng, std::span<const uint8_t> maskPng,
                                         const PngDecoder& decode);

// The sheets the program holds, decoded by its front end's codec; nullopt when it lacks either or
// either breaks the rule. Inline, so that only programs that link a front end's services need them.
inline std::optional<SpriteSheets> loadEmbeddedSheets() {
  const SheetFiles files = embeddedSheetFiles();
  if (files.colour.empty() || files.mask.empty()) return std::nullopt;
  return decodeSheets(files.colour, files.mask, decodePngBytes);
}

}  // namespace orelog

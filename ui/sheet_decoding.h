// The rule for the two sprite sheets: both decode and both are exactly the sheet size.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "ui/canvas.h"

namespace orelog {

// A platform's PNG decoder: nullopt when the bytes are not a readable PNG.
using PngDecoder = std::function<std::optional<Image>(std::span<const uint8_t>)>;

// The two sheets from their PNG bytes; nullopt when either fails to decode or is not
// 1024 x 1024. The mask is not decoded when the colour sheet already failed. The sheets come
// with their run index.
std::optional<SpriteSheets> decodeSheets(std::span<const uint8_t> colourPng, std::span<const uint8_t> maskPng,
                                         const PngDecoder& decode);

}  // namespace orelog

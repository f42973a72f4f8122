// The two sprite sheets, compiled into the executable and decoded once.
#pragma once
#include <cstdint>
#include <optional>
#include <span>

#include "ui/canvas.h"

namespace orelog {

// nullopt when a sheet fails to decode.
std::optional<SpriteSheets> loadEmbeddedSheets();
// The two sheets from their PNG bytes; nullopt when either fails to decode or is not 1024 x 1024.
std::optional<SpriteSheets> decodeSheets(std::span<const uint8_t> colourPng, std::span<const uint8_t> maskPng);

}  // namespace orelog

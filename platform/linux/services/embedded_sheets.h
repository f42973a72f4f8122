// The two sprite sheets, compiled into the executable and decoded once.
#pragma once
#include <optional>

#include "ui/canvas.h"

namespace orelog {

// nullopt when a sheet fails to decode.
std::optional<SpriteSheets> loadEmbeddedSheets();

}  // namespace orelog

// The two sprite sheets, the executable's "PNG" resources, decoded once.
#pragma once
#include <optional>

#include "ui/canvas.h"

namespace orelog {

// nullopt when a resource is missing or empty, or a sheet fails to decode or has the wrong size.
std::optional<SpriteSheets> loadEmbeddedSheets();

}  // namespace orelog

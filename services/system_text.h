// The text renderer of whichever front end's services the program links (Pango on Linux, GDI on
// Windows), for the programs that draw pages without a window.
#pragma once
#include <memory>

#include "services/platform.h"

namespace orelog {

std::unique_ptr<TextRenderer> makeSystemTextRenderer();

}  // namespace orelog

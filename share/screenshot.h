// Saving the canvas as a PNG file at a place the player chooses.
#pragma once
#include <string>

#include "services/platform.h"

namespace orelog {

// "Orelog%04d%02d%02d%02d%02d%02d.png" from the local time.
std::u16string screenshotFileName(const DateTime& time);
// Asks for a path and writes the canvas there; true when written or cancelled. Failures are silent.
bool saveScreenshot(Platform& platform, const Canvas& canvas);

}  // namespace orelog

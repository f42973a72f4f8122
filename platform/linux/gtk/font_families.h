// Choosing a font family that is really installed, so fontconfig never stands in a Latin-only face.
#pragma once
#include <string>
#include <vector>

namespace orelog {

// The first of the wanted families that the font map has; the last one when none is there.
// A list handed to Pango as it is would take the Latin letters from whatever face fontconfig
// offers for the first, missing, name.
std::string installedFamily(const std::vector<std::string>& wanted);

// The face of the connect screen, and the medium face of the pages (used by the credits box).
std::string connectFontFamily();
std::string pageFontFamily();

}  // namespace orelog

// The credits page's text box: its place, its font and the licence notice of the JSON library.
#pragma once
#include <string_view>

#include "services/platform.h"
#include "util/geometry.h"

namespace orelog {

// A read-only, multi-line box with a vertical scroll bar, over the canvas while the credits page
// is current, in the page face at the medium size.
inline constexpr Rect kCreditsBoxPlace{30, 200, 400, 80};
inline constexpr FontSize kCreditsBoxFont = FontSize::Medium;

// The library's name, its copyright lines and its BSD licence, one paragraph per line, lines
// separated by CR LF as a multi-line edit control expects. Generated from the installed header.
std::u16string_view creditsNotice();

}  // namespace orelog

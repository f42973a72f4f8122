// The text primitive of the pages: the text rule, then the platform's renderer.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "services/platform.h"
#include "ui/canvas.h"

namespace orelog {

// No page draws anything near this long; the cap keeps one hostile worker name from making a
// renderer lay out a picture wider than any surface allows.
inline constexpr std::size_t kMaxDrawnTextUnits = 1024;
// Texts anchored further out than this cannot touch the canvas; skipping them keeps every
// renderer's sums in range.
inline constexpr int kFarOutside = 1 << 24;

// The part of a text that is drawn: up to its first NUL, like a C string, and at most
// kMaxDrawnTextUnits units of that.
std::u16string_view drawnText(std::u16string_view text);

// What marks a text cut short to fit its room.
inline constexpr std::u16string_view kEllipsis = u"…";

// The drawn part of text as it fits in maxWidth pixels of the font: whole when it fits, otherwise
// the longest start that fits with kEllipsis after it (never ending inside a surrogate pair), or
// nothing when not even kEllipsis fits.
std::u16string fittedText(TextRenderer& renderer, std::u16string_view text, FontSize font, int maxWidth);

// The text without the characters the renderer's font has no glyph for.
std::u16string withoutMissingGlyphs(TextRenderer& renderer, std::u16string_view text, FontSize font);

// Hands the drawn part to the renderer; an empty part, or one anchored far outside, draws nothing.
void drawText(TextRenderer& renderer, Canvas& canvas, std::u16string_view text, int x, int y, FontSize font,
              TextAlign align, Pixel colour);

// Text over a busy picture, through the same rule: drawn first in the outline colour one pixel off
// in each of the eight directions, then in its own colour at its place, so every glyph keeps a
// one-pixel dark rim.
void drawOutlinedText(TextRenderer& renderer, Canvas& canvas, std::u16string_view text, int x, int y,
                      FontSize font, TextAlign align, Pixel colour, Pixel outline);

}  // namespace orelog

// The text rule in front of every renderer.
#include "ui/draw_text.h"

#include "util/utf.h"

namespace orelog {

namespace {

bool farOutside(int coordinate) {
  return coordinate < -kFarOutside || coordinate > kFarOutside;
}

// Whether the drawn part of a text anchored at (x, y) reaches the renderer at all.
bool worthDrawing(std::u16string_view drawn, int x, int y) {
  return !drawn.empty() && !farOutside(x) && !farOutside(y);
}

}  // namespace

std::u16string_view drawnText(std::u16string_view text) {
  text = text.substr(0, text.find(u'\0'));
  return text.substr(0, kMaxDrawnTextUnits);
}

std::u16string fittedText(TextRenderer& renderer, std::u16string_view text, FontSize font, int maxWidth) {
  const std::u16string_view drawn = drawnText(text);
  if (renderer.textWidth(drawn, font) <= maxWidth) return std::u16string(drawn);
  // The widest start that fits with the mark: widths grow with the length, so halve the range.
  std::size_t fits = 0, tooLong = drawn.size();
  while (tooLong - fits > 1) {
    const std::size_t middle = fits + (tooLong - fits) / 2;
    const std::u16string candidate = truncateUtf16(drawn, middle) + std::u16string(kEllipsis);
    if (renderer.textWidth(candidate, font) <= maxWidth) fits = middle;
    else tooLong = middle;
  }
  const std::u16string cut = truncateUtf16(drawn, fits) + std::u16string(kEllipsis);
  return renderer.textWidth(cut, font) <= maxWidth ? cut : std::u16string();
}

std::u16string withoutMissingGlyphs(TextRenderer& renderer, std::u16string_view text, FontSize font) {
  std::u16string kept;
  for (std::size_t i = 0; i < text.size();) {
    const bool pair = i + 1 < text.size() && text[i] >= 0xD800 && text[i] <= 0xDBFF && text[i + 1] >= 0xDC00 &&
                      text[i + 1] <= 0xDFFF;
    const std::size_t units = pair ? 2 : 1;
    const char32_t codePoint =
        pair ? 0x10000 + ((char32_t{text[i]} - 0xD800) << 10) + (char32_t{text[i + 1]} - 0xDC00) : text[i];
    if (renderer.hasGlyph(codePoint, font)) kept.append(text.substr(i, units));
    i += units;
  }
  return kept;
}

void drawText(TextRenderer& renderer, Canvas& canvas, std::u16string_view text, int x, int y, FontSize font,
              TextAlign align, Pixel colour) {
  const std::u16string_view drawn = drawnText(text);
  if (!worthDrawing(drawn, x, y)) return;
  renderer.drawText(canvas, drawn, x, y, font, align, colour);
}

void drawOutlinedText(TextRenderer& renderer, Canvas& canvas, std::u16string_view text, int x, int y,
                      FontSize font, TextAlign align, Pixel colour, Pixel outline) {
  const std::u16string_view drawn = drawnText(text);
  if (!worthDrawing(drawn, x, y)) return;
  renderer.drawOutlinedText(canvas, drawn, x, y, font, align, colour, outline);
}

}  // namespace orelog

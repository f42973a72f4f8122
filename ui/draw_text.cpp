// The text rule in front of every renderer.
#include "ui/draw_text.h"

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

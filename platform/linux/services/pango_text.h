// Text on the canvas through Pango and cairo, in the page face or IPA P Gothic.
#pragma once
#include <memory>

#include "services/platform.h"

namespace orelog {

// Draws each text as it is given: the core's drawText has already cut it and skipped far anchors.
class PangoTextRenderer : public TextRenderer {
 public:
  PangoTextRenderer();
  ~PangoTextRenderer() override;
  void drawText(Canvas& canvas, std::u16string_view text, int x, int y, FontSize font, TextAlign align,
                Pixel colour) override;
  int textWidth(std::u16string_view text, FontSize font) override;
  bool hasGlyph(char32_t codePoint, FontSize font) override;
  void drawOutlinedText(Canvas& canvas, std::u16string_view text, int x, int y, FontSize font,
                        TextAlign align, Pixel colour, Pixel outline) override;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace orelog

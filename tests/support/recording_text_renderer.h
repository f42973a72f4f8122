// A text renderer that draws nothing and remembers every text it was asked to draw, in order.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "services/platform.h"

namespace orelog {

struct RecordedText {
  std::u16string text;
  int x = 0;
  int y = 0;
  FontSize font = FontSize::Small;
  TextAlign align = TextAlign::Left;
  Pixel colour = 0;
  bool operator==(const RecordedText&) const = default;
};

struct RecordingTextRenderer : TextRenderer {
  std::vector<RecordedText> texts;

  void drawText(Canvas& canvas, std::u16string_view text, int x, int y, FontSize font, TextAlign align,
                Pixel colour) override;
  // A face of fixed widths: half the cell height for ASCII, the cell height for anything else.
  int textWidth(std::u16string_view text, FontSize font) override;
  // The face lacks the private-use characters, U+E000 to U+F8FF.
  bool hasGlyph(char32_t codePoint, FontSize font) override;
  void clear() { texts.clear(); }
};

// The first recorded text equal to `text`, or nullopt.
std::optional<RecordedText> findText(const RecordingTextRenderer& renderer, std::u16string_view text);
// The first recorded text that contains `part`, or nullopt.
std::optional<RecordedText> findTextContaining(const RecordingTextRenderer& renderer,
                                               std::u16string_view part);

}  // namespace orelog

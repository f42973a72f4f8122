// The recording text renderer used by page tests and the benchmarks.
#include "tests/support/recording_text_renderer.h"

#include <algorithm>

namespace orelog {

void RecordingTextRenderer::drawText(Canvas&, std::u16string_view text, int x, int y, FontSize font,
                                     TextAlign align, Pixel colour) {
  texts.push_back({std::u16string(text), x, y, font, align, colour});
}

int RecordingTextRenderer::textWidth(std::u16string_view text, FontSize font) {
  const int cell = static_cast<int>(font);
  int width = 0;
  for (char16_t unit : text) width += unit < 0x80 ? cell / 2 : cell;
  return width;
}

bool RecordingTextRenderer::hasGlyph(char32_t codePoint, FontSize) {
  return codePoint < 0xE000 || codePoint > 0xF8FF;
}

namespace {

template <typename Predicate>
std::optional<RecordedText> findFirst(const RecordingTextRenderer& renderer, Predicate matches) {
  const auto it = std::find_if(renderer.texts.begin(), renderer.texts.end(), matches);
  if (it == renderer.texts.end()) return std::nullopt;
  return *it;
}

}  // namespace

std::optional<RecordedText> findText(const RecordingTextRenderer& renderer, std::u16string_view text) {
  return findFirst(renderer, [text](const RecordedText& r) { return r.text == text; });
}

std::optional<RecordedText> findTextContaining(const RecordingTextRenderer& renderer,
                                               std::u16string_view part) {
  return findFirst(renderer,
                   [part](const RecordedText& r) { return r.text.find(part) != std::u16string::npos; });
}

}  // namespace orelog

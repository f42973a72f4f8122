// Test material for the pages: synthetic sheets whose pictures are solid, distinct colours, and a
// helper that composes one page with the recording text renderer.
#pragma once
#include <string>
#include <vector>

#include "services/platform.h"
#include "tests/support/recording_text_renderer.h"
#include "ui/canvas.h"
#include "ui/game_screen.h"
#include "util/geometry.h"

namespace orelog::test {

// Every named region and every item picture is a solid rectangle of its own colour. The shelf is
// only its top and bottom 8 rows, so the sky and the earth behind it show in pixel checks.
const SpriteSheets& syntheticSheets();
// The colour the synthetic sheets give a region (its picture's top-left pixel).
Pixel colourOf(const SpriteRegion& region);
inline constexpr int kShelfBand = 8;

// One text the recording renderer saw, comparable as a whole.
using DrawnText = RecordedText;

// Small white left text, the usual style, for short expectation tables.
DrawnText label(std::u16string text, int x, int y);
DrawnText rightText(std::u16string text, int x, int y, Pixel colour);
std::string describe(const DrawnText& text);  // for failure messages
// The texts drawn, one for one and in order; a difference names the text and both versions.
void expectTexts(const std::vector<DrawnText>& actual, const std::vector<DrawnText>& expected);

inline constexpr Pixel kUntouched = rgb(1, 2, 3);

// A canvas filled with kUntouched, composed with the current page of screen.
struct Composed {
  Canvas canvas;
  std::vector<DrawnText> texts;
};
Composed compose(const GameScreen& screen, const PlayerRecord& record);

}  // namespace orelog::test

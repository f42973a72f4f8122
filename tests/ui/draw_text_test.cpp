// The text rule in front of every renderer: a text stops at its NUL and after 1024 units, and
// texts anchored far outside the canvas are not handed on, outlined or not.
#include "ui/draw_text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <string>

#include "tests/support/recording_text_renderer.h"
#include "tests/support/sheet_fixture.h"

namespace orelog {
namespace {

TEST(DrawText, TheRendererGetsTheTextUpToItsNulAndAtMost1024Units) {
  const std::u16string longText(3000, u'W');
  const std::u16string pairAtTheCut = std::u16string(1023, u'a') + u"\U0001F431";
  const struct {
    const char* name;
    std::u16string text;
    std::u16string drawn;  // empty: nothing reaches the renderer
  } cases[] = {
      {"plain", u"ポコポイント", u"ポコポイント"},
      {"stops at NUL", std::u16string(u"ab\0cd", 5), u"ab"},
      {"NUL first draws nothing", std::u16string(u"\0ab", 3), u""},
      {"empty draws nothing", u"", u""},
      {"exactly 1024", std::u16string(1024, u'x'), std::u16string(1024, u'x')},
      {"longer is cut", longText, std::u16string(1024, u'W')},
      {"NUL before the cut wins", std::u16string(10, u'x') + u'\0' + longText, std::u16string(10, u'x')},
      {"the cut counts units, even inside a pair", pairAtTheCut, pairAtTheCut.substr(0, 1024)},
  };
  for (const auto& c : cases) {
    RecordingTextRenderer renderer;
    Canvas canvas = testing::filledCanvas(0);
    drawText(renderer, canvas, c.text, 5, 6, FontSize::Small, TextAlign::Right, 0x123456);
    EXPECT_EQ(drawnText(c.text), c.drawn) << c.name;
    if (c.drawn.empty()) {
      EXPECT_TRUE(renderer.texts.empty()) << c.name;
      continue;
    }
    ASSERT_EQ(renderer.texts.size(), 1u) << c.name;
    EXPECT_EQ(renderer.texts[0], (RecordedText{c.drawn, 5, 6, FontSize::Small, TextAlign::Right, 0x123456}))
        << c.name;
  }
}

// The recording renderer's face: 5 px for ASCII, 10 px for anything else at the small size.
TEST(DrawText, ATextTooWideForItsRoomIsCutBeforeAnEllipsis) {
  RecordingTextRenderer renderer;
  const std::u16string cat = u"\U0001F431";  // one character, two units, 20 px
  const struct {
    const char* name;
    std::u16string text;
    int room;
    std::u16string fitted;
  } cases[] = {
      {"fits whole", u"rig1", 20, u"rig1"},
      {"fits to the pixel", u"ねこねこ", 40, u"ねこねこ"},
      {"one pixel short", u"ねこねこ", 39, u"ねこ…"},
      {"as much as fits", u"abcdefghij", 30, u"abcd…"},
      {"only the mark fits", u"ねこねこ", 10, u"…"},
      {"not even the mark", u"ねこねこ", 9, u""},
      {"never half a pair", u"ab" + cat + cat, 39, u"ab…"},
      {"a pair kept whole", u"ab" + cat + cat, 40, u"ab" + cat + u"…"},
      {"cut at the NUL first", std::u16string(u"ab\0cdefghijkl", 14), 10, u"ab"},
      {"empty", u"", 0, u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(fittedText(renderer, c.text, FontSize::Small, c.room), c.fitted) << c.name;
    EXPECT_LE(renderer.textWidth(fittedText(renderer, c.text, FontSize::Small, c.room), FontSize::Small), c.room)
        << c.name;
  }
}

TEST(DrawText, AnchorsFarOutsideTheCanvasDrawNothing) {
  constexpr int kMin = std::numeric_limits<int>::min(), kMax = std::numeric_limits<int>::max();
  const struct {
    int x, y;
    bool handedOn;
  } cases[] = {{0, 0, true},
               {-kFarOutside, kFarOutside, true},
               {-kFarOutside - 1, 0, false},
               {0, kFarOutside + 1, false},
               {kMin, kMin, false},
               {kMax, 10, false}};
  for (const auto& c : cases) {
    RecordingTextRenderer renderer;
    Canvas canvas = testing::filledCanvas(0);
    drawText(renderer, canvas, u"x", c.x, c.y, FontSize::Large, TextAlign::Left, 0);
    EXPECT_EQ(renderer.texts.size(), c.handedOn ? 1u : 0u) << c.x << ", " << c.y;
    renderer.clear();
    drawOutlinedText(renderer, canvas, u"x", c.x, c.y, FontSize::Large, TextAlign::Left, 0, 0);
    EXPECT_EQ(renderer.texts.size(), c.handedOn ? 9u : 0u) << "outlined at " << c.x << ", " << c.y;
  }
}

TEST(DrawText, AnOutlinedTextHasItsRimDrawnFirstAllAroundThenTheTextOnTop) {
  RecordingTextRenderer renderer;
  Canvas canvas = testing::filledCanvas(0);
  drawOutlinedText(renderer, canvas, std::u16string(u"tama\0x", 6), 50, 40, FontSize::Small,
                   TextAlign::Centre, 0xffffff, 0x102030);
  ASSERT_EQ(renderer.texts.size(), 9u);
  for (std::size_t i = 0; i < 8; ++i) {
    const RecordedText& rim = renderer.texts[i];
    EXPECT_EQ(rim.text, u"tama");
    EXPECT_EQ(rim.colour, 0x102030u);
    EXPECT_LE(std::abs(rim.x - 50), 1);
    EXPECT_LE(std::abs(rim.y - 40), 1);
    EXPECT_FALSE(rim.x == 50 && rim.y == 40);
    for (std::size_t j = 0; j < i; ++j) EXPECT_FALSE(rim == renderer.texts[j]) << "each direction once";
  }
  EXPECT_EQ(renderer.texts[8], (RecordedText{u"tama", 50, 40, FontSize::Small, TextAlign::Centre, 0xffffff}));
}

}  // namespace
}  // namespace orelog

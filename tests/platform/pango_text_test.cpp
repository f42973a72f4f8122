// Where the Pango renderer puts text and in which colour, judged by the pixels it changes.
#include "pango_text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <string>

#include "tests/support/sheet_fixture.h"
#include "ui/draw_text.h"

namespace orelog {
namespace {

using testing::filledCanvas;

constexpr Pixel kBackground = rgb(40, 80, 127);
constexpr Pixel kTextColour = rgb(255, 255, 0);

struct Box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;  // right and bottom exclusive
  bool empty() const { return right < 0; }
};

Box changedBox(const Canvas& canvas, Pixel background) {
  Box box;
  for (int y = 0; y < canvas.height; ++y)
    for (int x = 0; x < canvas.width; ++x)
      if (canvas.at(x, y) != background) {
        box.left = std::min(box.left, x);
        box.top = std::min(box.top, y);
        box.right = std::max(box.right, x + 1);
        box.bottom = std::max(box.bottom, y + 1);
      }
  return box;
}

class PangoTextTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { renderer = new PangoTextRenderer(); }
  static void TearDownTestSuite() { delete renderer; }

  Box draw(std::u16string_view text, int x, int y, FontSize font, TextAlign align,
           Pixel colour = kTextColour) {
    canvas = filledCanvas(kBackground);
    drawText(*renderer, canvas, text, x, y, font, align, colour);  // as the pages draw, through the text rule
    return changedBox(canvas, kBackground);
  }

  static PangoTextRenderer* renderer;
  Canvas canvas;
};
PangoTextRenderer* PangoTextTest::renderer = nullptr;

// Side bearings and overhangs move the ink a pixel or two off the logical box, and descenders may
// reach a pixel or two below the cell, as they do with the Windows font.
constexpr int kBearing = 2;
constexpr int kDescenderOverhang = 2;

struct AnchorCase {
  const char* name;
  // The case by its name, so a test's listed name holds no object bytes.
  friend void PrintTo(const AnchorCase& c, std::ostream* os) { *os << c.name; }
  FontSize font;
  TextAlign align;
};

class PangoAnchors : public PangoTextTest, public ::testing::WithParamInterface<AnchorCase> {};

TEST_P(PangoAnchors, InkLiesInTheCellAtTheAnchor) {
  const AnchorCase c = GetParam();
  const int cell = static_cast<int>(c.font);
  constexpr int kX = 260, kY = 100;

  const Box box = draw(u"■ゴシックgy", kX, kY, c.font, c.align);

  ASSERT_FALSE(box.empty());
  EXPECT_GE(box.top, kY);
  EXPECT_LE(box.top, kY + cell / 4) << "the tallest glyphs start near the top edge";
  EXPECT_LE(box.bottom, kY + cell + kDescenderOverhang);
  EXPECT_GE(box.right - box.left, 3 * cell) << "six glyphs";
  switch (c.align) {
    case TextAlign::Left:
      EXPECT_NEAR(box.left, kX, kBearing);
      break;
    case TextAlign::Right:
      EXPECT_NEAR(box.right, kX, kBearing);
      break;
    case TextAlign::Centre:
      EXPECT_NEAR((box.left + box.right) / 2.0, kX, kBearing);
      break;
  }
}

// The baseline sits at the same place for every text of a font, whatever its glyphs.
TEST_F(PangoTextTest, TextsOfOneFontShareTheirBaseline) {
  const Box kana = draw(u"ムー", 10, 40, FontSize::Small, TextAlign::Left);
  const Box digits = draw(u"1234", 10, 40, FontSize::Small, TextAlign::Left);
  EXPECT_NEAR(kana.bottom, digits.bottom, 1);
}

INSTANTIATE_TEST_SUITE_P(FontsAndAlignments, PangoAnchors,
                         ::testing::Values(AnchorCase{"SmallLeft", FontSize::Small, TextAlign::Left},
                                           AnchorCase{"SmallCentre", FontSize::Small, TextAlign::Centre},
                                           AnchorCase{"SmallRight", FontSize::Small, TextAlign::Right},
                                           AnchorCase{"MediumLeft", FontSize::Medium, TextAlign::Left},
                                           AnchorCase{"MediumCentre", FontSize::Medium, TextAlign::Centre},
                                           AnchorCase{"MediumRight", FontSize::Medium, TextAlign::Right},
                                           AnchorCase{"LargeLeft", FontSize::Large, TextAlign::Left},
                                           AnchorCase{"LargeCentre", FontSize::Large, TextAlign::Centre},
                                           AnchorCase{"LargeRight", FontSize::Large, TextAlign::Right}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PangoTextTest, LargerFontsDrawLargerText) {
  const Box small = draw(u"ゴシック", 10, 10, FontSize::Small, TextAlign::Left);
  const Box medium = draw(u"ゴシック", 10, 10, FontSize::Medium, TextAlign::Left);
  const Box large = draw(u"ゴシック", 10, 10, FontSize::Large, TextAlign::Left);
  EXPECT_LT(small.right, medium.right);
  EXPECT_LT(medium.right, large.right);
}

// Every changed pixel is a mix of the background and the text colour, and a solid glyph has
// pixels of exactly the text colour.
TEST_F(PangoTextTest, DrawsInTheGivenColourOnATransparentBackground) {
  for (const Pixel colour : {rgb(255, 255, 255), rgb(127, 127, 127), rgb(255, 0, 64)}) {
    const Box box = draw(u"■□", 100, 50, FontSize::Large, TextAlign::Left, colour);
    ASSERT_FALSE(box.empty());
    int exact = 0;
    for (int y = box.top; y < box.bottom; ++y)
      for (int x = box.left; x < box.right; ++x) {
        const Pixel p = canvas.at(x, y);
        exact += p == colour;
        for (int shift : {0, 8, 16}) {
          const int c = (p >> shift) & 0xff,
                    lo = std::min((colour >> shift) & 0xff, (kBackground >> shift) & 0xff);
          const int hi = std::max((colour >> shift) & 0xff, (kBackground >> shift) & 0xff);
          ASSERT_TRUE(c >= lo && c <= hi)
              << "pixel " << std::hex << p << " at " << std::dec << x << ", " << y;
        }
      }
    EXPECT_GT(exact, 20);
    // The hollow square's middle still shows the background.
    const int hollowMiddle = box.left + 3 * (box.right - box.left) / 4;
    EXPECT_EQ(canvas.at(hollowMiddle, (box.top + box.bottom) / 2), kBackground);
  }
}

TEST_F(PangoTextTest, TheSameTextInANewColourIsDrawnInTheNewColour) {
  draw(u"■", 50, 50, FontSize::Small, TextAlign::Left, rgb(255, 255, 255));
  const Box box = draw(u"■", 50, 50, FontSize::Small, TextAlign::Left, rgb(0, 255, 0));
  int green = 0, white = 0;
  for (int y = box.top; y < box.bottom; ++y)
    for (int x = box.left; x < box.right; ++x) {
      green += canvas.at(x, y) == rgb(0, 255, 0);
      white += canvas.at(x, y) == rgb(255, 255, 255);
    }
  EXPECT_GT(green, 0);
  EXPECT_EQ(white, 0);
}

TEST_F(PangoTextTest, TextStopsAtItsTerminatorAndStaysOnOneLine) {
  const Box whole = draw(u"ab", 10, 10, FontSize::Medium, TextAlign::Left);
  const Box terminated = draw(std::u16string_view(u"ab\0cd", 5), 10, 10, FontSize::Medium, TextAlign::Left);
  EXPECT_EQ(terminated.right, whole.right);
  const Box twoLines = draw(u"ab\ncd\nef", 10, 10, FontSize::Medium, TextAlign::Left);
  EXPECT_LE(twoLines.bottom, 10 + static_cast<int>(FontSize::Medium) + kDescenderOverhang);
}

TEST_F(PangoTextTest, TextAcrossOrFarBeyondTheEdgesIsClipped) {
  const struct {
    int x, y;
    TextAlign align;
  } cases[] = {{-20, -5, TextAlign::Left},
               {515, 295, TextAlign::Left},
               {5, 150, TextAlign::Right},
               {-2000000000, 2000000000, TextAlign::Centre},
               {2147483647, 0, TextAlign::Right},
               {std::numeric_limits<int>::min(), std::numeric_limits<int>::min(), TextAlign::Left}};
  for (const auto& c : cases) {
    const Box box = draw(u"はみ出す文字", c.x, c.y, FontSize::Large, c.align);
    if (box.empty()) continue;
    EXPECT_GE(box.left, 0);
    EXPECT_LE(box.right, kCanvasWidth);
  }
  const std::u16string hostile(100000, u'W');
  const Box box = draw(hostile, 0, 0, FontSize::Small, TextAlign::Left);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.right, kCanvasWidth);
}

// How much of the text colour a pixel holds, from the red channel (background 40, text 255).
int coverage(const Canvas& canvas, int x, int y) {
  return red(canvas.at(x, y)) - red(kBackground);
}

// A hole: a pixel inside the box clearly lighter than all four of its neighbours, as a ring's centre
// is (a faint edge of a stroke beside a gap is no rim).
constexpr int kRimContrast = (255 - 40) / 8;

bool hasHole(const Canvas& canvas, const Box& box) {
  for (int y = std::max(box.top, 1); y < std::min(box.bottom, canvas.height - 1); ++y)
    for (int x = std::max(box.left, 1); x < std::min(box.right, canvas.width - 1); ++x) {
      const int centre = coverage(canvas, x, y);
      const int rim = std::min({coverage(canvas, x - 1, y), coverage(canvas, x + 1, y),
                                coverage(canvas, x, y - 1), coverage(canvas, x, y + 1)});
      if (rim - centre >= kRimContrast) return true;
    }
  return false;
}

// Where two pictures of the same size differ, grown by a pixel on each side.
Box differingBox(const Canvas& a, const Canvas& b) {
  Box box;
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x)
      if (a.at(x, y) != b.at(x, y)) {
        box.left = std::min(box.left, x - 1);
        box.top = std::min(box.top, y - 1);
        box.right = std::max(box.right, x + 2);
        box.bottom = std::max(box.bottom, y + 2);
      }
  return box;
}

// At the small font's 10-pixel cell "ポ" must not read as "ボ": the handakuten is drawn as a ring
// around a lighter centre, the dakuten as dots without one.
TEST_F(PangoTextTest, TheSmallFontKeepsTheHandakutensRing) {
  draw(u"ポ", 20, 20, FontSize::Small, TextAlign::Left);
  const Canvas ring = canvas;
  draw(u"ボ", 20, 20, FontSize::Small, TextAlign::Left);
  const Canvas dots = canvas;
  const Box marks = differingBox(ring, dots);
  ASSERT_FALSE(marks.empty()) << "the two marks look the same";
  EXPECT_LE(marks.right - marks.left, 7) << "only the marks differ";
  EXPECT_TRUE(hasHole(ring, marks)) << "no ring in the handakuten";
  EXPECT_FALSE(hasHole(dots, marks)) << "the dakuten drawn as a ring";
}

// Each of the nine draws rounds every channel on its own, the rim and the text only twice, so a
// channel may stray by a unit, rarely two, where several partly covered neighbours meet.
constexpr int kRoundingOfNineBlends = 2;

// The renderer's own outline (a rim kept with the text) looks as the plain nine draws do, within
// their rounding, over a busy picture and where the canvas cuts the text.
TEST_F(PangoTextTest, AnOutlinedTextLooksAsItsNineDrawsDo) {
  const struct {
    const char* name;
    std::u16string_view text;
    int x, y;
    FontSize font;
    TextAlign align;
  } cases[] = {{"name", u"miner.h-excavator", 200, 100, FontSize::Small, TextAlign::Centre},
               {"kana", u"ポコポイント■", 40, 250, FontSize::Large, TextAlign::Left},
               {"cut at the left", u"ゴシックgy", 2, 30, FontSize::Medium, TextAlign::Centre},
               {"cut at the bottom right", u"miner.a-idle", kCanvasWidth + 4, kCanvasHeight - 5,
                FontSize::Medium, TextAlign::Right}};
  constexpr Pixel kOutline = rgb(16, 16, 48);
  for (const auto& c : cases) {
    Canvas nine = makeCanvas(), own = makeCanvas();
    for (int i = 0; i < kCanvasWidth * kCanvasHeight; ++i)
      nine.storage[i] = own.storage[i] = rgb(i % 251, (i / 7) % 253, (i * 3) % 256);
    renderer->TextRenderer::drawOutlinedText(nine, c.text, c.x, c.y, c.font, c.align, kTextColour, kOutline);
    renderer->drawOutlinedText(own, c.text, c.x, c.y, c.font, c.align, kTextColour, kOutline);
    int changed = 0, worst = 0;
    for (int i = 0; i < kCanvasWidth * kCanvasHeight; ++i) {
      changed +=
          nine.storage[i] != own.storage[i] || nine.storage[i] != rgb(i % 251, (i / 7) % 253, (i * 3) % 256);
      for (int shift : {0, 8, 16})
        worst = std::max(worst, std::abs(static_cast<int>((nine.storage[i] >> shift) & 0xff) -
                                         static_cast<int>((own.storage[i] >> shift) & 0xff)));
    }
    EXPECT_GT(changed, 50) << c.name;
    EXPECT_LE(worst, kRoundingOfNineBlends) << c.name;
  }
}

TEST_F(PangoTextTest, UnpairedSurrogatesAndEmptyTextDoNotHarm) {
  const std::u16string broken = {u'a', static_cast<char16_t>(0xd800), u'b', static_cast<char16_t>(0xdc00)};
  EXPECT_FALSE(draw(broken, 10, 10, FontSize::Small, TextAlign::Left).empty());
  EXPECT_TRUE(draw(u"", 10, 10, FontSize::Small, TextAlign::Left).empty());
}

}  // namespace
}  // namespace orelog

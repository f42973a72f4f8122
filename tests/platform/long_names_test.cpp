// The longest names the game keeps, drawn with Pango on the real pages: each stays in its panel.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/sheet_decoding.h"
#include "game/characters.h"
#include "pango_text.h"
#include "ui/canvas.h"
#include "ui/game_screen.h"
#include "util/geometry.h"
#include "util/utf.h"

namespace orelog {
namespace {

constexpr std::size_t kLongest = 63;  // units, for a player's name and a worker's alike

// 63 units of wide kana: the widest name a player can type.
std::u16string longName(char16_t first) {
  std::u16string name(1, first);
  while (name.size() < kLongest) name += u"ねこ";
  return name.substr(0, kLongest);
}

bool inside(const Rect& r, int x, int y) { return x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height; }

// The pixels in which the two pages differ, each one that lies in none of the allowed areas.
struct Difference {
  int changed = 0;
  std::vector<Point> outside;
};

Difference compareWithin(const Canvas& a, const Canvas& b, const std::vector<Rect>& allowed) {
  Difference difference;
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) {
      if (a.at(x, y) == b.at(x, y)) continue;
      ++difference.changed;
      bool ok = false;
      for (const Rect& r : allowed) ok = ok || inside(r, x, y);
      if (!ok) difference.outside.push_back({x, y});
    }
  }
  return difference;
}

class LongNames : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    renderer = new PangoTextRenderer();
    sheets = new std::optional<SpriteSheets>(loadEmbeddedSheets());
  }
  static void TearDownTestSuite() {
    delete renderer;
    delete sheets;
  }

  Canvas paint(int32_t page, const PlayerRecord& record, std::optional<std::size_t> hovered = std::nullopt) {
    GameScreen screen;
    initGameScreen(screen, record);
    rebuildCharacterSlots(screen.slots, record);
    screen.page = page;
    screen.hoveredCharacter = hovered;
    slots = screen.slots;
    Canvas canvas = makeCanvas();
    paintCurrentPage(canvas, screen, record, **sheets, *renderer);
    return canvas;
  }

  static PangoTextRenderer* renderer;
  static std::optional<SpriteSheets>* sheets;
  std::vector<CharacterSlot> slots;
};

PangoTextRenderer* LongNames::renderer = nullptr;
std::optional<SpriteSheets>* LongNames::sheets = nullptr;

TEST_F(LongNames, ThePlayersNameStaysRightOfItsLabelInsideTheTable) {
  ASSERT_TRUE(sheets->has_value());
  PlayerRecord shortName, longest;
  shortName.playerName = u"ね";
  longest.playerName = longName(u'ね');
  const Difference difference = compareWithin(paint(kStatusPage, shortName), paint(kStatusPage, longest),
                                              {{70, 74, 157, 18}});  // right of "名前", inside the frame
  EXPECT_GT(difference.changed, 0) << "the long name is drawn";
  EXPECT_TRUE(difference.outside.empty()) << "first pixel outside: " << difference.outside.front().x << ","
                                          << difference.outside.front().y;
}

TEST_F(LongNames, WorkerNamesStayInTheWorkerBoxAndBetweenTheirNeighbours) {
  ASSERT_TRUE(sheets->has_value());
  PlayerRecord shortNames, longest;
  for (int i = 0; i < kMaxCharacterSlots; ++i) {
    const char16_t first = static_cast<char16_t>(u'a' + i);
    shortNames.workers.emplace(utf16ToUtf8(u"kuro." + std::u16string(1, first)), 100 * i);
    longest.workers.emplace(utf16ToUtf8(u"kuro." + longName(first)), 100 * i);
  }
  const Canvas before = paint(kTopPage, shortNames, 0);
  const Canvas after = paint(kTopPage, longest, 0);
  std::vector<Rect> allowed = {{385, 195, 98, 44}};  // the worker box inside its frame
  for (const CharacterSlot& slot : slots) {
    // A name is centred over its character; the next one stands kCharacterCellStepX further on.
    const int centre = slot.x + 15, half = kCharacterCellStepX / 2 - 1;
    allowed.push_back({centre - half, slot.y - 12, 2 * half, 24});
  }
  const Difference difference = compareWithin(before, after, allowed);
  EXPECT_GT(difference.changed, 0) << "the long names are drawn";
  EXPECT_TRUE(difference.outside.empty()) << "first pixel outside: " << difference.outside.front().x << ","
                                          << difference.outside.front().y;
}

}  // namespace
}  // namespace orelog

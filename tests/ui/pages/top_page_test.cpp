// The top page: its texts, the play field, the characters by tier and phase, items and the flight.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "game/characters.h"
#include "game/levels.h"
#include "page_fixture.h"
#include "profile/catalogue.h"
#include "tests/support/printable.h"
#include "ui/pages.h"
#include "ui/palette.h"
#include "ui/sprite_regions.h"
#include "util/utf.h"

namespace orelog {
namespace {

using test::colourOf;
using test::compose;
using test::DrawnText;
using test::expectTexts;
using test::label;

CharacterSlot slotAt(std::u16string name, double hashrate, int32_t x, int32_t y) {
  return {hashrate, std::move(name), x, y, 44, 40};
}

// A record whose coin spent exceeds what the pool paid: the result line is negative.
PlayerRecord fixedRecord() {
  PlayerRecord record;
  record.level = 12;
  record.workers = {{"acct.rig1", 25500}};
  record.totalHashrate = 25500;
  record.payout = 10.0;
  record.balance = 2.5;
  record.coinSpent = 15.5;
  record.points = 77;
  return record;
}

GameScreen topScreen() {
  GameScreen screen;
  screen.page = kTopPage;
  screen.slots = {slotAt(u"rig1", 999, 60, 166), slotAt(u"big", 50000, 134, 166)};
  screen.hoveredCharacter = 0;
  return screen;
}

TEST(SyntheticSheets, EveryPictureHasItsOwnColour) {
  std::vector<Pixel> colours;
  for (const auto& named : sprites::kNamedRegions) colours.push_back(colourOf(named.region));
  for (int32_t kind = 0; kind < kItemKindCount; ++kind) colours.push_back(colourOf(itemRegion(kind)));
  std::sort(colours.begin(), colours.end());
  EXPECT_EQ(std::adjacent_find(colours.begin(), colours.end()), colours.end());
}

// A worker's name: its dark rim one pixel off in the eight directions, then the white name itself.
std::vector<DrawnText> outlinedName(std::u16string name, int x, int y) {
  std::vector<DrawnText> texts;
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      if (dx != 0 || dy != 0)
        texts.push_back({name, x + dx, y + dy, FontSize::Small, TextAlign::Centre, palette::kNameOutline});
  texts.push_back({name, x, y, FontSize::Small, TextAlign::Centre, palette::kTextWhite});
  return texts;
}

TEST(TopPage, DrawsEveryTextAtItsPlace) {
  std::vector<DrawnText> expected = {
      label(u"Credit", 484, 284),  label(u"ステータス", 63, 71), label(u"アイテム", 135, 71),
      label(u"ショップ", 195, 71), label(u"フレンド", 251, 71),  label(u"ログ", 307, 71),
      label(u"レベル", 390, 107),  label(u"12", 431, 107),       label(u"採掘力", 390, 121),
      label(u"25 MH/s", 431, 121), label(u"成果", 390, 135),     label(u"-3 PCC", 431, 135),
      label(u"PP", 390, 149),      label(u"77", 431, 149),       label(u"rig1", 390, 197),
      label(u"採掘力", 390, 211),  label(u"999 KH/s", 431, 211)};
  for (const auto& name : {outlinedName(u"rig1", 75, 163), outlinedName(u"big", 149, 158)})
    expected.insert(expected.end(), name.begin(), name.end());
  expectTexts(compose(topScreen(), fixedRecord()).texts, expected);
}

// Spending beyond payout plus balance: the top page's result goes negative, while the coin the
// status and shop pages offer stays at 0.
TEST(TopPage, ResultLineIsNegativeWhereStatusAndShopShowNoCoin) {
  const PlayerRecord record = fixedRecord();
  GameScreen screen = topScreen();
  EXPECT_EQ(compose(screen, record).texts[11], label(u"-3 PCC", 431, 135));
  screen.page = kStatusPage;
  EXPECT_EQ(compose(screen, record).texts[10], test::rightText(u"0", 217, 142, palette::kTextWhite));
  screen.page = kShopPage;
  EXPECT_EQ(compose(screen, record).texts[2], test::rightText(u"0 PCC", 440, 276, palette::kTextWhite));
}

// A SHA-256 ASIC of 95 TH/s (9.5e10 KH/s, past 32 bits) beside a CPU worker of a yescrypt pool.
PlayerRecord asicAndCpuRecord() {
  PlayerRecord record = fixedRecord();
  record.workers = {{"kuro.asic", 95e9}, {"kuro.cpu", 0.49}};
  record.totalHashrate = 95000000000;
  return record;
}

// Two CPU workers of a yescrypt pool, whose whole KH/s make 0 for experience.
PlayerRecord twoCpuRecord() {
  PlayerRecord record = fixedRecord();
  record.workers = {{"kuro.cpu1", 0.49}, {"kuro.cpu2", 0.24}};
  record.totalHashrate = 0;
  return record;
}

TEST(TopPage, AsicAndCpuWorkersReadRightInBothBoxes) {
  struct Case {
    PlayerRecord record;
    std::u16string total;
    std::vector<std::u16string> powers;  // each slot's worker box
  };
  const Case cases[] = {{asicAndCpuRecord(), u"95 TH/s", {u"95 TH/s", u"0.49 KH/s"}},
                        {twoCpuRecord(), u"0.73 KH/s", {u"0.49 KH/s", u"0.24 KH/s"}}};
  for (const Case& c : cases) {
    GameScreen screen;
    rebuildCharacterSlots(screen.slots, c.record);
    ASSERT_EQ(screen.slots.size(), c.powers.size());
    for (std::size_t slot = 0; slot < c.powers.size(); ++slot) {
      screen.hoveredCharacter = slot;
      const auto texts = compose(screen, c.record).texts;
      const std::u16string& power = c.powers[slot];
      EXPECT_NE(std::find(texts.begin(), texts.end(), label(c.total, 431, 121)), texts.end()) << "player box";
      EXPECT_NE(std::find(texts.begin(), texts.end(), label(power, 431, 211)), texts.end()) << test::printable(power);
      EXPECT_NE(std::find(texts.begin(), texts.end(), label(screen.slots[slot].displayName, 390, 197)), texts.end());
    }
  }
}

TEST(TopPage, AsicAndCpuWorkersAllDig) {
  GameScreen screen;
  // The ASIC digs with the excavator, the CPU worker swings its pick with coins.
  rebuildCharacterSlots(screen.slots, asicAndCpuRecord());
  const test::Composed page = compose(screen, asicAndCpuRecord());
  EXPECT_EQ(page.canvas.at(60, 158), colourOf(sprites::kExcavator1));
  EXPECT_EQ(page.canvas.at(134 + 1, 166 + 9), colourOf(sprites::kPick1));
  EXPECT_EQ(page.canvas.at(134 + 31 + 4, 166 + 15 + 4), colourOf(sprites::kCoinFront));
  // Both CPU workers mine: coins fly beside each pick, as at 1 KH/s.
  rebuildCharacterSlots(screen.slots, twoCpuRecord());
  const test::Composed cpus = compose(screen, twoCpuRecord());
  for (const int32_t x : {60, 134}) {
    EXPECT_EQ(cpus.canvas.at(x + 1, 166 + 9), colourOf(sprites::kPick1)) << x;
    EXPECT_EQ(cpus.canvas.at(x + 31 + 4, 166 + 15 + 4), colourOf(sprites::kCoinFront)) << x;
  }
}

// The total is the pool's figures summed, read as the worker box reads: KH/s below 1000, with two
// decimals below 1 (two CPU workers of 0.49 and 0.24 KH/s), whose whole KH/s experience takes.
TEST(TopPage, PlayerBoxReadsThePoolsFiguresSummed) {
  struct Case {
    std::map<std::string, double> workers;
    std::u16string text;
  };
  const Case cases[] = {{{}, u"0 KH/s"},
                        {{{"a.r1", 1}}, u"1 KH/s"},
                        {{{"a.r1", 140}}, u"140 KH/s"},
                        {{{"a.r1", 999}}, u"999 KH/s"},
                        {{{"a.r1", 1000}}, u"1 MH/s"},
                        {{{"a.r1", 95e9}}, u"95 TH/s"},
                        {{{"a.cpu1", 0.49}, {"a.cpu2", 0.24}}, u"0.73 KH/s"},
                        {{{"a.r1", 999.6}, {"a.cpu", 0.49}}, u"1 MH/s"},
                        {{{"a.asic", 95e9}, {"a.cpu", 0.49}}, u"95 TH/s"}};
  for (const auto& [workers, text] : cases) {
    PlayerRecord record = fixedRecord();
    record.workers = workers;
    record.totalHashrate = 0;  // experience's whole KH/s play no part in it
    const auto texts = compose(GameScreen{}, record).texts;
    EXPECT_NE(std::find(texts.begin(), texts.end(), label(text, 431, 121)), texts.end()) << test::printable(text);
  }
}

// The status page after four updates: experience takes the whole KH/s, saturated for a 95 TH/s
// ASIC and 0 for two CPU workers below 1 KH/s, and the page shows it whole.
TEST(StatusPage, ExperienceFromAsicAndCpuWorkersIsShownWhole) {
  const std::pair<PlayerRecord, std::u16string> cases[] = {
      {asicAndCpuRecord(), u"21474846"},  // the gain saturates at the largest 32-bit product
      {twoCpuRecord(), u"10"}};
  for (auto [record, experience] : cases) {
    record.level = 1;
    record.experience = 10;
    for (int update = 0; update < 4; ++update) experienceTick(record);
    GameScreen screen;
    screen.page = kStatusPage;
    const auto texts = compose(screen, record).texts;
    EXPECT_EQ(decimalText(record.experience), experience);
    EXPECT_NE(std::find(texts.begin(), texts.end(), test::rightText(experience, 217, 110, palette::kTextWhite)),
              texts.end())
        << test::printable(experience);
  }
}

TEST(TopPage, WorkerBoxStaysEmptyWithoutAnExistingHoveredSlot) {
  GameScreen screen = topScreen();
  for (const std::optional<std::size_t> hovered : {std::optional<std::size_t>{}, std::optional<std::size_t>{2}}) {
    screen.hoveredCharacter = hovered;
    for (const DrawnText& text : compose(screen, fixedRecord()).texts) {
      EXPECT_NE(text.y, 197) << test::describe(text);
      EXPECT_NE(text.y, 211) << test::describe(text);
    }
  }
}

TEST(TopPage, PaintsBackgroundSkyEarthAndShelves) {
  GameScreen screen;
  const test::Composed page = compose(screen, PlayerRecord{});
  EXPECT_EQ(page.canvas.at(0, 0), palette::kTopPageGrey);
  EXPECT_EQ(page.canvas.at(519, 150), palette::kTopPageGrey);
  EXPECT_EQ(page.canvas.at(32, 100), palette::kSkyBlue);
  EXPECT_EQ(page.canvas.at(355, 180), palette::kSkyBlue);   // behind the upper shelf's open middle
  EXPECT_EQ(page.canvas.at(356, 180), palette::kTopPageGrey);
  EXPECT_EQ(page.canvas.at(40, 240), palette::kGroundBrown);
  EXPECT_EQ(page.canvas.at(40, 268), palette::kTopPageGrey);
  EXPECT_EQ(page.canvas.at(32, 151), colourOf(sprites::kShelf));
  EXPECT_EQ(page.canvas.at(355, 209), colourOf(sprites::kShelf));
  EXPECT_EQ(page.canvas.at(46, 110), colourOf(sprites::kCloud));
  EXPECT_EQ(page.canvas.at(32, 16), colourOf(sprites::kTitleBanner));
  EXPECT_EQ(page.canvas.at(519, 299), colourOf(sprites::kBluePanel));  // the corner button, cut
}

// One character at (60, 166) on an otherwise empty top page.
test::Composed characterPage(double hashrate, uint64_t frame) {
  GameScreen screen;
  screen.frame = frame;
  screen.slots = {slotAt(u"w", hashrate, 60, 166)};
  return compose(screen, PlayerRecord{});
}

struct TierCase {
  double hashrate;
  SpriteRegion first;
  SpriteRegion second;
};

TEST(Characters, TierBoundariesChooseTheFrames) {
  using namespace sprites;
  const TierCase cases[] = {
      {-2147483647 - 1, kPick1, kPick2},
      {-3, kPick1, kPick2},
      {0, kPick1, kPick1},
      {-0.5, kPick1, kPick1},
      {0.01, kPick1, kPick2},  // a worker above 0 mines: it digs as at 1 KH/s
      {0.49, kPick1, kPick2},
      {1, kPick1, kPick2},
      {999, kPick1, kPick2},
      {1000, kHelmet1, kHelmet2},
      {2999, kHelmet1, kHelmet2},
      {3000, kSpade1, kSpade2},
      {4999, kSpade1, kSpade2},
      {5000, kShovel1, kShovel2},
      {9999, kShovel1, kShovel2},
      {10000, kDrill1, kDrill2},
      {24999, kDrill1, kDrill2},
      {25000, kRedDrill1, kRedDrill2},
      {49999, kRedDrill1, kRedDrill2},
  };
  for (const TierCase& c : cases) {
    // Frames 0 and 6 have p2 = 0 and 1; a 32-pixel frame stands 8 pixels below the slot's y.
    EXPECT_EQ(characterPage(c.hashrate, 0).canvas.at(61, 175), colourOf(c.first)) << c.hashrate;
    EXPECT_EQ(characterPage(c.hashrate, 6).canvas.at(61, 175), colourOf(c.second)) << c.hashrate;
  }
}

TEST(Characters, ExcavatorCyclesOneThreeTwoAndStandsEightPixelsHigher) {
  using namespace sprites;
  const std::pair<uint64_t, SpriteRegion> cases[] = {
      {0, kExcavator1}, {4, kExcavator3}, {8, kExcavator2}, {12, kExcavator1}, {7, kExcavator3}};
  for (const auto& [frame, region] : cases) {
    const test::Composed page = characterPage(50000, frame);
    EXPECT_EQ(page.canvas.at(60, 158), colourOf(region)) << frame;
    EXPECT_EQ(page.canvas.at(107, 205), colourOf(region)) << frame;
    EXPECT_NE(page.canvas.at(60, 157), colourOf(region)) << frame;
  }
  EXPECT_EQ(characterPage(50000, 0).texts.back().y, 158);
  EXPECT_EQ(characterPage(49999, 0).texts.back().y, 163);
}

TEST(Characters, CoinsSpinByTheFourthPhase) {
  using namespace sprites;
  const std::tuple<uint64_t, SpriteRegion, SpriteRegion> cases[] = {
      {0, kCoinFront, kCoinEdge},
      {3, kCoinTurning, kCoinTurningBack},
      {6, kCoinEdge, kCoinFront},
      {9, kCoinTurningBack, kCoinTurning},
  };
  for (const double hashrate : {0.49, 1.0, 9999.0, 50000.0, 95e9}) {
    for (const auto& [frame, first, second] : cases) {
      const test::Composed page = characterPage(hashrate, frame);
      EXPECT_EQ(page.canvas.at(60 + 31 + 4, 166 + 15 + 4), colourOf(first)) << hashrate << " " << frame;
      EXPECT_EQ(page.canvas.at(60 + 38 + 8, 166 + 25 + 8), colourOf(second)) << hashrate << " " << frame;
    }
  }
}

TEST(Characters, IdleOrNegativeWorkerHasNoCoinsAndDrillsScatterOreInsteadOfCoins) {
  using namespace sprites;
  for (const int32_t hashrate : {0, -3}) {
    for (const uint64_t frame : {0, 3, 6, 9}) {
      EXPECT_EQ(characterPage(hashrate, frame).canvas.at(60 + 31 + 4, 166 + 15 + 4), palette::kSkyBlue)
          << hashrate;
      EXPECT_EQ(characterPage(hashrate, frame).canvas.at(60 + 38 + 8, 166 + 25 + 8), palette::kSkyBlue)
          << hashrate;
    }
  }
  EXPECT_EQ(characterPage(10000, 0).canvas.at(60 + 38 + 8, 166 + 25 + 8), palette::kSkyBlue);
}

struct OreCase {
  uint64_t frame;
  int dx, dy;
  SpriteRegion piece;
};

TEST(Characters, OreLiesAtItsOffsetsForBothPhases) {
  using namespace sprites;
  const OreCase cases[] = {
      {0, -10, 22, kOreChunk}, {0, 23, 9, kOreChunk},  {0, 23, 26, kOrePebble},
      {6, -10, 9, kOrePebble}, {6, -10, 27, kOreChunk}, {6, 23, 22, kOreChunk},
  };
  for (const int32_t hashrate : {10000, 49999}) {
    for (const OreCase& c : cases) {
      const test::Composed page = characterPage(hashrate, c.frame);
      EXPECT_EQ(page.canvas.at(60 + c.dx, 166 + c.dy), colourOf(c.piece)) << c.frame << " " << c.dx << "," << c.dy;
      EXPECT_EQ(page.canvas.at(60 + c.dx + 8, 166 + c.dy + 8), colourOf(c.piece)) << c.frame;
    }
  }
}

TEST(TopPageItems, PlacedItemsAreDrawnWholeAndUnplacedOnesNever) {
  constexpr int32_t kLadder = 13;
  PlayerRecord record;
  record.items = {ownedItemOfKind(kLadder, 200, 100), ownedItemOfKind(4, 0, 120)};
  GameScreen screen;
  const test::Composed placed = compose(screen, record);
  EXPECT_EQ(placed.canvas.at(200, 100), colourOf(itemRegion(kLadder)));
  EXPECT_EQ(placed.canvas.at(217, 146), colourOf(itemRegion(kLadder)));  // all 47 rows
  EXPECT_EQ(placed.canvas.at(0, 120), colourOf(itemRegion(4)));          // x = 0 is a place

  record.items.insert(record.items.begin(), {ownedItemOfKind(kLadder, -1, -1), ownedItemOfKind(10, -1, -1)});
  const test::Composed withInventory = compose(screen, record);
  EXPECT_EQ(withInventory.canvas.storage, placed.canvas.storage);
}

// Only (-1, -1) marks the inventory; an item lying a little past the left edge is on the shelf and
// must stay in view there (the items page does not show it, and taking from the grid skips it).
TEST(TopPageItems, ItemLyingPastTheLeftEdgeIsStillDrawn) {
  PlayerRecord record;
  record.items = {ownedItemOfKind(10, -13, 142)};  // the 46-pixel face mark, 13 pixels off the canvas
  const test::Composed page = compose(GameScreen{}, record);
  EXPECT_EQ(page.canvas.at(0, 142), colourOf(itemRegion(10)));
  EXPECT_EQ(page.canvas.at(32, 151), colourOf(itemRegion(10)));
  EXPECT_NE(page.canvas.at(33, 151), colourOf(itemRegion(10)));
}

TEST(TopPageItems, FlyingItemIsDrawnLastOnItsLineTowardTheTarget) {
  PlayerRecord record;
  record.items = {ownedItemOfKind(4, -1, -1)};  // 14 x 10
  GameScreen screen;
  screen.items.motion.flyingItem = 0;
  screen.items.motion.flightStartX = 300;
  screen.items.motion.flightStartY = 200;
  screen.items.motion.flightRadius = 64;
  // dx = 151, dy = 130, d = 199: 64 pixels along is (300 - 48, 200 - 41).
  const test::Composed page = compose(screen, record);
  EXPECT_EQ(page.canvas.at(252, 159), colourOf(itemRegion(4)));
  EXPECT_EQ(page.canvas.at(265, 168), colourOf(itemRegion(4)));
  EXPECT_NE(page.canvas.at(251, 159), colourOf(itemRegion(4)));
}

TEST(TopPageItems, FlightStartingOnTheTargetIsDrawnAtItsStart) {
  PlayerRecord record;
  record.items = {ownedItemOfKind(4, -1, -1)};
  GameScreen screen;
  screen.items.motion.flyingItem = 0;
  screen.items.motion.flightStartX = 156 - 7;  // centre exactly on (156, 75)
  screen.items.motion.flightStartY = 75 - 5;
  const test::Composed page = compose(screen, record);
  EXPECT_EQ(page.canvas.at(149, 70), colourOf(itemRegion(4)));
  EXPECT_EQ(page.canvas.at(162, 79), colourOf(itemRegion(4)));
}

TEST(TopPageItems, FlyingIndexPastTheListDrawsNothing) {
  PlayerRecord record;
  GameScreen screen;
  const test::Composed without = compose(screen, record);
  screen.items.motion.flyingItem = 3;
  EXPECT_EQ(compose(screen, record).canvas.storage, without.canvas.storage);
}

}  // namespace
}  // namespace orelog

// Character slots built from the worker list, and the animation tick's clock.
#include "game/characters.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "tests/support/printable.h"

#include "profile/catalogue.h"
#include "ui/game_screen.h"
#include "util/utf.h"

namespace orelog {
namespace {

std::vector<CharacterSlot> slotsFor(const std::map<std::string, double>& workers) {
  PlayerRecord record;
  record.workers = workers;
  std::vector<CharacterSlot> slots;
  rebuildCharacterSlots(slots, record);
  return slots;
}

std::vector<std::u16string> namesOf(const std::vector<CharacterSlot>& slots) {
  std::vector<std::u16string> names;
  for (const CharacterSlot& slot : slots) names.push_back(slot.displayName);
  return names;
}

struct NameCase {
  std::string userName;
  std::u16string displayName;
};

// Long names by their length and first bytes: a runner's list cuts a long value short.
void PrintTo(const NameCase& c, std::ostream* os) {
  *os << c.userName.size() << " bytes " << test::printable(std::string_view(c.userName).substr(0, 12));
}

class DisplayName : public ::testing::TestWithParam<NameCase> {};

TEST_P(DisplayName, IsThePartAfterTheFirstFullStop) {
  const auto slots = slotsFor({{GetParam().userName, 10}});
  ASSERT_EQ(slots.size(), 1u);
  EXPECT_EQ(slots[0].displayName, GetParam().displayName);
}

const std::string k63Units(63, 'w');
const std::string k64Units(64, 'w');
const std::string k64UnitsWithDot = "a." + std::string(62, 'w');
// 31 characters outside the basic plane take 62 units; one more makes 64.
const std::string k62UnitsOfPairs = [] {
  std::string s;
  for (int i = 0; i < 31; ++i) s += "\xF0\x9F\x90\xB1";
  return s;
}();

// Where the part after the full stop leaves nothing, the pool's whole name stands in, cut to 63
// units with "…", so no character, hover box, notice or legend shows a worker without a name.
INSTANTIATE_TEST_SUITE_P(
    Workers, DisplayName,
    ::testing::Values(NameCase{"alice.rig1", u"rig1"}, NameCase{"bob", u"bob"}, NameCase{"alice.", u"alice."},
                      NameCase{"a.b.c", u"b.c"}, NameCase{".lead", u"lead"}, NameCase{"", u""},
                      NameCase{"山田.掘る", u"掘る"},
                      NameCase{k63Units, std::u16string(63, u'w')},
                      NameCase{k64Units, std::u16string(62, u'w') + u"…"},
                      NameCase{k64UnitsWithDot, u"a." + std::u16string(60, u'w') + u"…"},
                      // A pair is never split: 31 pairs fill 62 units, then the mark.
                      NameCase{k62UnitsOfPairs + "x.y", utf8ToUtf16(k62UnitsOfPairs) + u"…"},
                      NameCase{k62UnitsOfPairs + "xy", utf8ToUtf16(k62UnitsOfPairs) + u"…"},
                      NameCase{"x" + k62UnitsOfPairs + "yz", u"x" + utf8ToUtf16(k62UnitsOfPairs.substr(0, 30 * 4)) + u"…"}));

TEST(CharacterSlots, FollowTheWorkersInByteOrderOfTheirFullNames) {
  const auto slots = slotsFor({{"bob", 3}, {"alice.rig2", 2}, {"alice.rig1", 1}});
  EXPECT_EQ(namesOf(slots), (std::vector<std::u16string>{u"rig1", u"rig2", u"bob"}));
  EXPECT_EQ(slots[0].hashrate, 1);
  EXPECT_EQ(slots[1].hashrate, 2);
  EXPECT_EQ(slots[2].hashrate, 3);
}

TEST(CharacterSlots, TenWorkersGiveTheFirstEightByName) {
  std::map<std::string, double> workers;
  for (char c = 'j'; c >= 'a'; --c) workers[std::string("u.") + c] = 1;
  const auto slots = slotsFor(workers);
  EXPECT_EQ(namesOf(slots), (std::vector<std::u16string>{u"a", u"b", u"c", u"d", u"e", u"f", u"g", u"h"}));
}

TEST(CharacterSlots, LieInTwoRowsOfFourCells) {
  std::map<std::string, double> workers;
  for (char c = 'a'; c <= 'h'; ++c) workers[std::string(1, c)] = 0;
  const auto slots = slotsFor(workers);
  const int32_t xs[] = {60, 134, 208, 282, 60, 134, 208, 282};
  const int32_t ys[] = {166, 166, 166, 166, 224, 224, 224, 224};
  ASSERT_EQ(slots.size(), 8u);
  for (std::size_t i = 0; i < slots.size(); ++i) {
    EXPECT_EQ(slots[i].x, xs[i]) << i;
    EXPECT_EQ(slots[i].y, ys[i]) << i;
    EXPECT_EQ(slots[i].width, 44);
    EXPECT_EQ(slots[i].height, 40);
  }
  EXPECT_EQ(slots[5].x, 134);
  EXPECT_EQ(slots[5].y, 224);
}

TEST(CharacterSlots, ARebuildReplacesEverySlot) {
  PlayerRecord record;
  record.workers = {{"a", 1}, {"b", 2}, {"c", 3}};
  std::vector<CharacterSlot> slots;
  rebuildCharacterSlots(slots, record);
  record.workers = {{"z", 9}};
  rebuildCharacterSlots(slots, record);
  ASSERT_EQ(slots.size(), 1u);
  EXPECT_EQ(slots[0].displayName, u"z");
  EXPECT_EQ(slots[0].x, 60);
  record.workers.clear();
  rebuildCharacterSlots(slots, record);
  EXPECT_TRUE(slots.empty());
}

struct ClockCase {
  const char* name;
  // The case by its name, so a test's listed name holds no object bytes.
  friend void PrintTo(const ClockCase& c, std::ostream* os) { *os << c.name; }
  uint32_t lastTick;
  uint32_t now;
  int64_t playTimeBefore;
  int64_t playTimeAfter;
};

class PlayTime : public ::testing::TestWithParam<ClockCase> {};

TEST_P(PlayTime, AddsTheTickCounterDifferenceModulo2To32) {
  const ClockCase& c = GetParam();
  GameScreen screen;
  PlayerRecord record;
  record.lastTick = c.lastTick;
  record.playTimeMs = c.playTimeBefore;
  animationTick(screen, record, c.now);
  EXPECT_EQ(record.playTimeMs, c.playTimeAfter);
  EXPECT_EQ(record.lastTick, c.now);
  EXPECT_EQ(screen.frame, 1u);
}

constexpr int64_t kLongest = std::numeric_limits<int64_t>::max();

INSTANTIATE_TEST_SUITE_P(
    Ticks, PlayTime,
    ::testing::Values(ClockCase{"Plain", 1000, 1830, 5, 835}, ClockCase{"Unchanged", 77, 77, 9, 9},
                      ClockCase{"AcrossTheWrap", 0xFFFFFF00u, 0x100u, 0, 0x200},
                      ClockCase{"FromTheLastValue", 0xFFFFFFFFu, 0, 40, 41},
                      ClockCase{"NegativeFromAFile", 0, 10, -50, -40},
                      ClockCase{"StopsAtTheLimit", 0, 0xFFFFFFFFu, kLongest - 5, kLongest}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AnimationTick, CountsFramesAndMovesFallingAndFlyingItems) {
  GameScreen screen;
  PlayerRecord record;
  record.items = {ownedItemOfKind(0, 100, 110 - 17)};
  initGameScreen(screen, record);
  for (int i = 0; i < 3; ++i) animationTick(screen, record, 0);
  EXPECT_EQ(screen.frame, 3u);
  EXPECT_EQ(record.items[0].y + record.items[0].height, 122);
}

TEST(AnimationTick, ForgetsAHoveredWorkerWhoseSlotIsGone) {
  GameScreen screen;
  PlayerRecord record;
  record.workers = {{"a", 1}, {"b", 2}, {"c", 3}};
  rebuildCharacterSlots(screen.slots, record);
  screen.hoveredCharacter = 2;
  animationTick(screen, record, 0);
  EXPECT_EQ(screen.hoveredCharacter, 2u) << "the same position stays hovered";
  record.workers = {{"a", 1}, {"b", 2}};
  rebuildCharacterSlots(screen.slots, record);
  animationTick(screen, record, 0);
  EXPECT_FALSE(screen.hoveredCharacter.has_value());
}

// Two ticks in a row: the first sees the starting picture, the second reports whether anything
// it shows changed since. The game repaints only on such a report.
struct TickChangeCase {
  const char* name;
  friend void PrintTo(const TickChangeCase& c, std::ostream* os) { *os << c.name; }
  std::map<std::string, double> workers;
  int32_t page;
  uint64_t frame;  // the frame counter before the first tick
  std::function<void(GameScreen&, PlayerRecord&)> between;
  uint32_t secondTickMs;  // the millisecond tick counter at the second tick (the first is at 0)
  bool changed;
};

void nothing(GameScreen&, PlayerRecord&) {}
const std::map<std::string, double> kIdle{{"m.idle", 0}};
const std::map<std::string, double> kPicker{{"m.pick", 500}};

class AnimationTickChange : public ::testing::TestWithParam<TickChangeCase> {};

TEST_P(AnimationTickChange, ReportsExactlyTheChangesThePageShows) {
  const TickChangeCase& c = GetParam();
  PlayerRecord record;
  record.workers = c.workers;
  GameScreen screen;
  initGameScreen(screen, record);
  rebuildCharacterSlots(screen.slots, record);
  screen.page = c.page;
  screen.frame = c.frame;
  animationTick(screen, record, 0);
  c.between(screen, record);
  EXPECT_EQ(animationTick(screen, record, c.secondTickMs), c.changed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AnimationTickChange,
    ::testing::Values(
        TickChangeCase{"TheFirstTickAfterTheStart",
                       {},
                       kTopPage,
                       0,
                       [](GameScreen& s, PlayerRecord&) { s.lastTick = {}; },
                       83,
                       true},
        TickChangeCase{"NoWorkers", {}, kTopPage, 0, nothing, 83, false},
        TickChangeCase{"AnIdleWorkerStandsStill", kIdle, kTopPage, 4, nothing, 83, false},
        TickChangeCase{"CoinsTurn", kPicker, kTopPage, 1, nothing, 83, true},
        TickChangeCase{"BetweenTwoPoses", kPicker, kTopPage, 0, nothing, 83, false},
        TickChangeCase{"ANegativeFigureSwingsItsPick", {{"m.odd", -5}}, kTopPage, 4, nothing, 83, true},
        TickChangeCase{"ExcavatorRocks", {{"m.dig", 60000}}, kTopPage, 2, nothing, 83, true},
        TickChangeCase{"OreFliesWithTheDrill", {{"m.drill", 20000}}, kTopPage, 4, nothing, 83, true},
        TickChangeCase{"TheDrillBetweenItsFrames", {{"m.drill", 20000}}, kTopPage, 6, nothing, 83, false},
        TickChangeCase{"CoinsTurnOnAnotherPageUnseen", kPicker, kItemsPage, 1, nothing, 83, false},
        TickChangeCase{"AnItemFalls",
                       {},
                       kTopPage,
                       0,
                       [](GameScreen&, PlayerRecord& r) { r.items = {ownedItemOfKind(0, 100, 110 - 17)}; },
                       83,
                       true},
        TickChangeCase{"AnItemFallsOnAnotherPageUnseen",
                       {},
                       kShopPage,
                       0,
                       [](GameScreen&, PlayerRecord& r) { r.items = {ownedItemOfKind(0, 100, 110 - 17)}; },
                       83,
                       false},
        TickChangeCase{"AnItemRestsOnAShelf",
                       {},
                       kTopPage,
                       0,
                       [](GameScreen&, PlayerRecord& r) { r.items = {ownedItemOfKind(0, 100, 203 - 17)}; },
                       83,
                       false},
        TickChangeCase{"AnItemFliesBack",
                       {},
                       kTopPage,
                       0,
                       [](GameScreen& s, PlayerRecord& r) {
                         r.items = {ownedItemOfKind(0, 300, 203 - 17)};
                         s.items.motion.flyingItem = 0;
                         s.items.motion.flightStartX = 300;
                         s.items.motion.flightStartY = 186;
                       },
                       83,
                       true},
        TickChangeCase{"TheHoveredWorkerChanges", kIdle, kTopPage, 0,
                       [](GameScreen& s, PlayerRecord&) { s.hoveredCharacter = 0; }, 83, true},
        TickChangeCase{"ThePageChanges",
                       {},
                       kTopPage,
                       0,
                       [](GameScreen& s, PlayerRecord&) { s.page = kStatusPage; },
                       83,
                       true},
        TickChangeCase{"NewFiguresAfterACycle",
                       {},
                       kStatusPage,
                       0,
                       [](GameScreen&, PlayerRecord& r) { r.level += 1; },
                       83,
                       true},
        TickChangeCase{"NewWorkersAfterACycle", kIdle, kTopPage, 0,
                       [](GameScreen& s, PlayerRecord& r) {
                         r.workers = {{"m.idle", 0}, {"m.new", 0}};
                         rebuildCharacterSlots(s.slots, r);
                       },
                       83, true},
        TickChangeCase{"PlayTimeWithinASecond", {}, kStatusPage, 0, nothing, 999, false},
        TickChangeCase{"PlayTimeReachesTheNextSecond", {}, kStatusPage, 0, nothing, 1000, true},
        TickChangeCase{"PlayTimeOnTheTopPageUnseen", {}, kTopPage, 0, nothing, 5000, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orelog

// Buying, selling, taking out, dropping, falling and flying back, and the counts the lists keep.
#include "game/items.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "profile/catalogue.h"

namespace orelog {
namespace {

// A point inside the list row / grid cell, as a player clicks it.
int32_t rowY(int32_t row) { return 73 + 26 * row + 10; }
int32_t cellX(int32_t column) { return 37 + 72 * column + 10; }

class Items : public ::testing::Test {
 protected:
  void start(std::vector<OwnedItem> items) {
    record.items = std::move(items);
    initItemsState(state, record);
  }
  // True when the press dropped an item, a save point.
  bool press(int32_t x, int32_t y) { return pressTopPage(record, state, x, y); }
  // Takes out the unplaced item under a grid cell; false when the cell is empty.
  bool take(int32_t x, int32_t y) {
    const auto index = inventoryItemAt(record, state, x, y);
    if (index) takeFromInventory(record, state, *index, x, y);
    return index.has_value();
  }
  void tick() {
    fallStep(record, state);
    flightStep(record, state);
  }

  PlayerRecord record;
  ItemsState state;
};

TEST_F(Items, InitialStateCountsUnplacedItemsAndSizesTheThreeBars) {
  start({ownedItemOfKind(0), ownedItemOfKind(1, 40, 100), ownedItemOfKind(2), ownedItemOfKind(3),
         ownedItemOfKind(4), ownedItemOfKind(5), ownedItemOfKind(6)});
  EXPECT_EQ(state.unplacedCount, 6);
  EXPECT_EQ(state.itemsBar.rowCount, 2);
  EXPECT_EQ(state.buyBar.rowCount, 16);
  EXPECT_EQ(state.sellBar.rowCount, 7);
  for (const ListScrollBar* bar : {&state.itemsBar, &state.buyBar, &state.sellBar}) {
    EXPECT_EQ(bar->y, 73);
    EXPECT_EQ(bar->height, 182);
    EXPECT_EQ(bar->visibleRows, 7);
    EXPECT_EQ(bar->firstRow, 0);
    EXPECT_FALSE(bar->dragging);
  }
  EXPECT_EQ(state.itemsBar.x, 397);
  EXPECT_EQ(state.buyBar.x, 215);
  EXPECT_EQ(state.sellBar.x, 435);
  EXPECT_FALSE(state.motion.heldItem || state.motion.flyingItem);
}

// --- Dropping against the drop zone (32, 106, 317, 155) ---

struct DropCase {
  const char* name;
  // The case by its name, so a test's listed name holds no object bytes.
  friend void PrintTo(const DropCase& c, std::ostream* os) { *os << c.name; }
  int32_t x;
  int32_t bottom;
  bool stays;
};

class Drop : public Items, public ::testing::WithParamInterface<DropCase> {};

TEST_P(Drop, KeepsTheItemWhenItsBottomStripOverlapsTheZone) {
  const DropCase& c = GetParam();
  OwnedItem item = ownedItemOfKind(0, c.x, c.bottom - 17);  // 16 x 17
  start({item});
  state.motion.heldItem = 0;
  EXPECT_TRUE(press(5, 5)) << "a drop is a save point";
  EXPECT_FALSE(state.motion.heldItem.has_value());
  if (c.stays) {
    EXPECT_EQ(record.items[0].x, c.x);
    EXPECT_EQ(record.items[0].y, c.bottom - 17);
    EXPECT_FALSE(state.motion.flyingItem.has_value());
    EXPECT_EQ(state.unplacedCount, 0);
  } else {
    EXPECT_TRUE(isUnplaced(record.items[0]));
    EXPECT_EQ(state.motion.flyingItem, 0u);
    EXPECT_EQ(state.motion.flightStartX, c.x);
    EXPECT_EQ(state.motion.flightStartY, c.bottom - 17);
    EXPECT_EQ(state.motion.flightRadius, 0);
    EXPECT_EQ(state.unplacedCount, 1);
    EXPECT_EQ(state.itemsBar.rowCount, 1);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Zone, Drop,
    ::testing::Values(DropCase{"OnePixelOverlapAtTheLeft", 17, 150, true},
                      DropCase{"TouchingTheLeftEdge", 16, 150, false},
                      DropCase{"OnePixelOverlapAtTheRight", 348, 150, true},
                      DropCase{"TouchingTheRightEdge", 349, 150, false},
                      DropCase{"StripOnTheZonesTopRow", 100, 107, true},
                      DropCase{"BottomAt106", 100, 106, false}, DropCase{"HighAbove", 100, 50, false},
                      DropCase{"StripTopAt260", 100, 261, true}, DropCase{"StripTopAt261", 100, 262, false}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Drops left of the canvas ---

struct LeftDropCase {
  const char* name;
  friend void PrintTo(const LeftDropCase& c, std::ostream* os) { *os << c.name; }
  int32_t kind;
  int32_t x;
  bool stays;  // set down at x = 0 rather than flown home
};

class LeftDrop : public Items, public ::testing::WithParamInterface<LeftDropCase> {};

TEST_P(LeftDrop, StaysAtTheEdgeOnlyWhileTheItemStillOverlapsTheZone) {
  const LeftDropCase& c = GetParam();
  start({ownedItemOfKind(c.kind, c.x, 140)});
  state.motion.heldItem = 0;
  EXPECT_TRUE(press(200, 200));
  if (c.stays) {
    EXPECT_EQ(record.items[0].x, 0);
    EXPECT_EQ(record.items[0].y, 140);
    EXPECT_EQ(state.unplacedCount, 0);
    press(1, 141);
    EXPECT_EQ(state.motion.heldItem, 0u) << "picked up again at the edge";
  } else {
    EXPECT_TRUE(isUnplaced(record.items[0]));
    EXPECT_EQ(state.motion.flyingItem, 0u);
    EXPECT_EQ(state.motion.flightStartX, c.x);
    EXPECT_EQ(state.unplacedCount, 1);
  }
}

// Kind 10 is 46 pixels wide, kind 14 35; the zone starts at x = 32.
INSTANTIATE_TEST_SUITE_P(Edge, LeftDrop,
                         ::testing::Values(LeftDropCase{"WidestAtMinus1", 10, -1, true},
                                           LeftDropCase{"WidestAtMinus13", 10, -13, true},
                                           LeftDropCase{"WidestAtMinus14", 10, -14, false},
                                           LeftDropCase{"WidestFarLeft", 10, -23, false},
                                           LeftDropCase{"NarrowerAtMinus2", 14, -2, true},
                                           LeftDropCase{"NarrowerAtMinus3", 14, -3, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Items, APressPicksUpTheFirstPlacedItemUnderThePoint) {
  start({ownedItemOfKind(0), ownedItemOfKind(0, 100, 135), ownedItemOfKind(0, 105, 135)});
  EXPECT_FALSE(press(110, 140)) << "a pick-up is not a save point";
  EXPECT_EQ(state.motion.heldItem, 1u);
  EXPECT_EQ(state.motion.grabOffsetX, 10);
  EXPECT_EQ(state.motion.grabOffsetY, 5);
}

TEST_F(Items, APressBesideEveryItemPicksNothingUp) {
  start({ownedItemOfKind(0, 100, 135)});
  press(116, 140);  // one past the right edge
  press(100, 152);  // one past the bottom
  EXPECT_FALSE(state.motion.heldItem.has_value());
}

TEST_F(Items, TheDraggedItemKeepsTheGrabPointUnderTheMouseWhereverThatTakesIt) {
  start({ownedItemOfKind(10, 100, 140)});
  press(130, 145);
  moveHeldItem(record, state, 200, 120);
  EXPECT_EQ(record.items[0].x, 170);
  EXPECT_EQ(record.items[0].y, 115);
  moveHeldItem(record, state, 7, 4);
  EXPECT_EQ(record.items[0].x, -23);
  EXPECT_EQ(record.items[0].y, -1);
  EXPECT_TRUE(press(7, 4));
  EXPECT_TRUE(isUnplaced(record.items[0])) << "no shelf overlap that far left: it flies home";
  EXPECT_EQ(state.motion.flyingItem, 0u);
  EXPECT_EQ(state.motion.flightStartX, -23);
}

TEST_F(Items, FarOffPositionsFromAFileAreHandledWithoutWrappingAround) {
  constexpr int32_t kFar = 2147483647 - 3;
  start({ownedItemOfKind(0, kFar, kFar), ownedItemOfKind(0, -kFar, 100)});
  press(5, 5);
  EXPECT_FALSE(state.motion.heldItem.has_value());
  fallStep(record, state);
  EXPECT_EQ(record.items[0].y, kFar);
  state.motion.heldItem = 0;
  press(5, 5);  // far outside the zone: it flies home from there
  EXPECT_EQ(state.motion.flyingItem, 0u);
  EXPECT_GT(flightLine(state.motion, record.items[0]).distance, int64_t{2147483647});
  tick();
  EXPECT_TRUE(state.motion.flyingItem.has_value());
}

// --- Falling onto the shelf lines 152, 203 and 261 ---

struct FallCase {
  const char* name;
  friend void PrintTo(const FallCase& c, std::ostream* os) { *os << c.name; }
  int32_t bottomBefore;
  int ticks;
  int32_t bottomAfter;
};

class Fall : public Items, public ::testing::WithParamInterface<FallCase> {};

TEST_P(Fall, MovesFourPixelsATickOntoTheNextLine) {
  const FallCase& c = GetParam();
  start({ownedItemOfKind(0, 100, c.bottomBefore - 17)});
  for (int i = 0; i < c.ticks; ++i) fallStep(record, state);
  EXPECT_EQ(record.items[0].y + 17, c.bottomAfter);
  EXPECT_EQ(record.items[0].x, 100);
}

INSTANTIATE_TEST_SUITE_P(
    Shelves, Fall,
    ::testing::Values(FallCase{"OneTick", 110, 1, 114}, FallCase{"RestsOnTheUpperShelf", 110, 11, 152},
                      FallCase{"StaysThere", 110, 30, 152}, FallCase{"OnTheUpperShelf", 152, 5, 152},
                      FallCase{"OnTheLowerShelf", 203, 5, 203}, FallCase{"LastPixelOfTheFall", 260, 1, 261},
                      FallCase{"OnTheFloor", 261, 5, 261}, FallCase{"BelowTheUpperShelf", 153, 1, 157},
                      FallCase{"ShortOfTheLowerShelf", 200, 1, 203}, FallCase{"AtTheTabBar", 87, 5, 87},
                      FallCase{"JustBelowTheTabBar", 88, 1, 92}, FallCase{"BelowTheFloor", 290, 5, 290}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Items, NeitherTheDraggedItemNorTheInventoryFalls) {
  start({ownedItemOfKind(0, 100, 100), ownedItemOfKind(13)});
  state.motion.heldItem = 0;
  fallStep(record, state);
  EXPECT_EQ(record.items[0].y, 100);
  EXPECT_TRUE(isUnplaced(record.items[1]));
}

// --- Flying back to (156, 75) ---

TEST_F(Items, AFlightFrom100PixelsAwayEndsInTheFourthTick) {
  // Centre (48 + 8, 67 + 8) = (56, 75): 100 pixels left of the target; the bottom is above the zone.
  start({ownedItemOfKind(0, 48, 67)});
  state.motion.heldItem = 0;
  press(0, 0);
  ASSERT_EQ(state.motion.flyingItem, 0u);
  EXPECT_EQ(flightLine(state.motion, record.items[0]).distance, 100);
  for (const int32_t radius : {32, 64, 96}) {
    tick();
    EXPECT_EQ(state.motion.flightRadius, radius);
    EXPECT_TRUE(state.motion.flyingItem.has_value()) << radius;
  }
  tick();
  EXPECT_EQ(state.motion.flightRadius, 128);
  EXPECT_FALSE(state.motion.flyingItem.has_value());
  EXPECT_TRUE(isUnplaced(record.items[0]));
}

struct FlightCase {
  int32_t distance;
  int ticks;
};

class Flight : public Items, public ::testing::WithParamInterface<FlightCase> {};

TEST_P(Flight, EndsInTheTickWhoseRadiusReachesTheDistance) {
  // Straight left of the target, the item's bottom well above the zone.
  start({ownedItemOfKind(0, 156 - GetParam().distance - 8, 67)});
  state.motion.heldItem = 0;
  press(0, 0);
  ASSERT_EQ(flightLine(state.motion, record.items[0]).distance, GetParam().distance);
  for (int i = 1; i < GetParam().ticks; ++i) {
    tick();
    ASSERT_TRUE(state.motion.flyingItem.has_value()) << "tick " << i;
  }
  tick();
  EXPECT_FALSE(state.motion.flyingItem.has_value());
}

INSTANTIATE_TEST_SUITE_P(Distances, Flight,
                         ::testing::Values(FlightCase{0, 1}, FlightCase{32, 1}, FlightCase{33, 2},
                                           FlightCase{64, 2}, FlightCase{65, 3}, FlightCase{100, 4}));

TEST_F(Items, AFlightStartingOnTheTargetWaitsAtItsStartForOnePaintThenEnds) {
  start({ownedItemOfKind(0, 148, 67)});  // centre exactly on (156, 75)
  state.motion.heldItem = 0;
  press(0, 0);
  ASSERT_EQ(state.motion.flyingItem, 0u);
  EXPECT_EQ(flightLine(state.motion, record.items[0]).distance, 0);
  EXPECT_EQ(state.motion.flightRadius, 0);
  EXPECT_EQ(state.motion.flightStartX, 148);
  EXPECT_EQ(state.motion.flightStartY, 67);
  tick();
  EXPECT_FALSE(state.motion.flyingItem.has_value());
}

struct FlightPathCase {
  int32_t startX, startY, radius;
  Point expected;
};

TEST(FlyingItemPosition, MovesInAStraightLineWithTruncatingSteps) {
  const FlightPathCase cases[] = {
      {300, 200, 0, {300, 200}},  {300, 200, 64, {252, 159}},
      {149, 170, 32, {149, 138}},  // straight up: dx 0, dy 100
      {49, 70, 50, {99, 70}},      // straight right: dx -100
      {149, 70, 32, {149, 70}},    // already on the target
  };
  for (const FlightPathCase& c : cases) {
    ItemMotion motion;
    motion.flightStartX = c.startX;
    motion.flightStartY = c.startY;
    motion.flightRadius = c.radius;
    const Point at = flyingItemPosition(motion, ownedItemOfKind(4, -1, -1));  // 14 x 10
    EXPECT_EQ(at.x, c.expected.x) << c.startX << "," << c.startY << " r " << c.radius;
    EXPECT_EQ(at.y, c.expected.y) << c.startX << "," << c.startY << " r " << c.radius;
  }
}

// --- The unplaced count and the grid's rows ---

class TakeOneOutOfSix : public Items, public ::testing::WithParamInterface<int32_t> {};

TEST_P(TakeOneOutOfSix, RemovesTheSecondGridRow) {
  std::vector<OwnedItem> items;
  for (int32_t kind = 0; kind < 6; ++kind) items.push_back(ownedItemOfKind(kind));
  start(items);
  ASSERT_EQ(state.itemsBar.rowCount, 2);
  const int32_t cell = GetParam();
  ASSERT_TRUE(take(cellX(cell % 5), rowY(cell / 5)));
  EXPECT_EQ(state.motion.heldItem, static_cast<std::size_t>(cell));
  EXPECT_EQ(state.unplacedCount, 5);
  EXPECT_EQ(state.itemsBar.rowCount, 1);
}

INSTANTIATE_TEST_SUITE_P(Cells, TakeOneOutOfSix, ::testing::Range(0, 6));

TEST_F(Items, TheSixthUnplacedItemAddsAGridRow) {
  std::vector<OwnedItem> items;
  for (int32_t kind = 0; kind < 5; ++kind) items.push_back(ownedItemOfKind(kind));
  start(items);
  record.payout = 100.0;
  EXPECT_EQ(state.itemsBar.rowCount, 1);
  ASSERT_TRUE(buyAt(record, state, 100, rowY(0)));
  EXPECT_EQ(state.unplacedCount, 6);
  EXPECT_EQ(state.itemsBar.rowCount, 2);
}

TEST_F(Items, TakingOutPacksUnplacedItemsAndCentresTheItemOnTheMouse) {
  start({ownedItemOfKind(1), ownedItemOfKind(2, 60, 100), ownedItemOfKind(3), ownedItemOfKind(4)});
  // The second cell; taking out is not a save point.
  ASSERT_TRUE(take(150, 90));
  EXPECT_EQ(state.motion.heldItem, 2u);  // kind 3, 25 x 12
  EXPECT_EQ(record.items[2].x, 150 - 12);
  EXPECT_EQ(record.items[2].y, 90 - 6);
  EXPECT_EQ(state.motion.grabOffsetX, 12);
  EXPECT_EQ(state.motion.grabOffsetY, 6);
}

TEST_F(Items, TakingOutCountsCellsFromTheFirstVisibleRow) {
  std::vector<OwnedItem> items(40, ownedItemOfKind(7));
  items[37] = ownedItemOfKind(9);
  start(items);
  state.itemsBar.firstRow = 1;
  ASSERT_TRUE(take(cellX(2), rowY(6)));  // (6 + 1) * 5 + 2
  EXPECT_EQ(state.motion.heldItem, 37u);
}

TEST_F(Items, AnEmptyCellOrAPointOffTheGridTakesNothing) {
  start({ownedItemOfKind(1), ownedItemOfKind(2)});
  EXPECT_FALSE(take(cellX(2), rowY(0)));
  EXPECT_FALSE(take(36, rowY(0)));
  EXPECT_FALSE(take(cellX(0), 72));
  EXPECT_FALSE(state.motion.heldItem.has_value());
  EXPECT_EQ(state.unplacedCount, 2);
}

// --- Buying ---

TEST_F(Items, BuyingWithExactlyThePriceSucceedsAndLeavesNothing) {
  start({});
  record.payout = 6.0;
  record.balance = 4.0;
  ASSERT_TRUE(buyAt(record, state, 100, rowY(2))) << "kind 2 costs 10; a purchase is a save point";
  EXPECT_EQ(availableCoin(record), 0);
  EXPECT_DOUBLE_EQ(record.coinSpent, 10.0);
  ASSERT_EQ(record.items.size(), 1u);
  EXPECT_EQ(record.items[0].itemId, 2);
  EXPECT_TRUE(isUnplaced(record.items[0]));
  EXPECT_EQ(record.items[0].width, 14);
  EXPECT_EQ(record.items[0].height, 25);
  EXPECT_EQ(state.sellBar.rowCount, 1);
  EXPECT_EQ(state.unplacedCount, 1);
}

TEST_F(Items, BuyingWithOneCoinTooFewDoesNothing) {
  start({});
  record.payout = 9.9;
  EXPECT_FALSE(buyAt(record, state, 100, rowY(2))) << "nothing bought, nothing to save";
  EXPECT_TRUE(record.items.empty());
  EXPECT_EQ(record.coinSpent, 0.0);
}

TEST_F(Items, TheBuyRowCountsFromTheBuyBarsFirstRow) {
  start({});
  record.payout = 1000.0;
  state.buyBar.firstRow = 9;
  ASSERT_TRUE(buyAt(record, state, 100, rowY(6)));
  EXPECT_EQ(record.items.back().itemId, 15);
  EXPECT_FALSE(buyAt(record, state, 100, 72)) << "above the list";
}

// --- Selling ---

struct SaleCase {
  int32_t kind;
  int32_t refund;
};

class Sale : public Items, public ::testing::WithParamInterface<SaleCase> {};

TEST_P(Sale, RefundsSeventyPercentButAtLeastOne) {
  start({ownedItemOfKind(GetParam().kind)});
  ASSERT_TRUE(sellAt(record, state, 300, rowY(0))) << "a sale is a save point";
  EXPECT_DOUBLE_EQ(record.coinSpent, -GetParam().refund);
  EXPECT_EQ(availableCoin(record), GetParam().refund);
  EXPECT_TRUE(record.items.empty());
}

INSTANTIATE_TEST_SUITE_P(Prices, Sale,
                         ::testing::Values(SaleCase{6, 1}, SaleCase{0, 1}, SaleCase{4, 2}, SaleCase{2, 7},
                                           SaleCase{13, 17}, SaleCase{10, 35}));

TEST_F(Items, SellingRemovesARowAndMovesTheListUpWhenItWouldEndEarly) {
  start(std::vector<OwnedItem>(10, ownedItemOfKind(1)));
  state.sellBar.firstRow = 3;
  ASSERT_TRUE(sellAt(record, state, 300, rowY(0)));
  EXPECT_EQ(state.sellBar.rowCount, 9);
  EXPECT_EQ(state.sellBar.firstRow, 2);
  EXPECT_EQ(record.items.size(), 9u);
}

TEST_F(Items, SellingAPlacedItemLeavesTheUnplacedCount) {
  start({ownedItemOfKind(1, 50, 135), ownedItemOfKind(2)});
  ASSERT_TRUE(sellAt(record, state, 300, rowY(0)));
  EXPECT_EQ(state.unplacedCount, 1);
  ASSERT_TRUE(sellAt(record, state, 300, rowY(0)));
  EXPECT_EQ(state.unplacedCount, 0);
  EXPECT_EQ(state.itemsBar.rowCount, 0);
}

TEST_F(Items, ARowPastTheLastItemSellsNothing) {
  start({ownedItemOfKind(1)});
  EXPECT_FALSE(sellAt(record, state, 300, rowY(1))) << "nothing sold, nothing to save";
  EXPECT_EQ(record.items.size(), 1u);
}

struct FixUpCase {
  std::size_t before;
  std::size_t sold;
  std::optional<std::size_t> after;
};

void PrintTo(const FixUpCase& c, std::ostream* os) { *os << c.before << " " << c.sold << " " << (c.after ? std::to_string(*c.after) : "none"); }

class SaleFixesUp : public Items, public ::testing::WithParamInterface<FixUpCase> {};

TEST_P(SaleFixesUp, TheHeldAndFlyingIndexesToTheSameItems) {
  const FixUpCase& c = GetParam();
  start({ownedItemOfKind(0, 40, 135), ownedItemOfKind(1, 60, 135), ownedItemOfKind(2, 80, 135),
         ownedItemOfKind(3, 100, 135)});
  state.motion.heldItem = c.before;
  state.motion.flyingItem = c.before;
  const int32_t heldKind = record.items[c.before].itemId;
  ASSERT_TRUE(sellAt(record, state, 300, rowY(static_cast<int32_t>(c.sold))));
  EXPECT_EQ(state.motion.heldItem, c.after);
  EXPECT_EQ(state.motion.flyingItem, c.after);
  if (c.after) {
    EXPECT_EQ(record.items[*c.after].itemId, heldKind);
  }
}

INSTANTIATE_TEST_SUITE_P(Indexes, SaleFixesUp,
                         ::testing::Values(FixUpCase{3, 1, 2}, FixUpCase{0, 1, 0}, FixUpCase{2, 2, std::nullopt},
                                           FixUpCase{3, 3, std::nullopt}, FixUpCase{1, 0, 0}));

TEST_F(Items, SellingTheHeldItemLeavesNothingInTheHandForTheNextPress) {
  start({ownedItemOfKind(1, 50, 135), ownedItemOfKind(2, 90, 135)});
  state.motion.heldItem = 0;
  ASSERT_TRUE(sellAt(record, state, 300, rowY(0)));
  press(95, 140);  // picks up what is there instead of dropping a sold item
  EXPECT_EQ(state.motion.heldItem, 0u);
  EXPECT_EQ(record.items[0].itemId, 2);
}

}  // namespace
}  // namespace orelog

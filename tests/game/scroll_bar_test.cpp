// The list scroll bar: thumb geometry, presses, drags, releases and removed rows.
#include <gtest/gtest.h>

#include <string>

#include "game/scroll_bar.h"
#include "tests/support/list_bar.h"

namespace orelog {
namespace {

// The shop's buy bar: 16 kinds, 7 shown, at (215, 73), 182 high.
ListScrollBar buyBar(int32_t firstRow = 0, int32_t rowCount = 16) {
  return test::listBar(215, rowCount, firstRow);
}

TEST(ScrollThumb, Is69PixelsLongAt16RowsAndRunsFromTheUpToTheDownButton) {
  EXPECT_EQ(thumbLength(buyBar()), 69);
  EXPECT_EQ(thumbTop(buyBar(0)), 85);
  EXPECT_EQ(thumbTop(buyBar(9)), 174);
  EXPECT_EQ(thumbTop(buyBar(9)) + thumbLength(buyBar(9)), 243);
}

struct PressCase {
  const char* name;
  // The case by its name, so a test's listed name holds no object bytes.
  friend void PrintTo(const PressCase& c, std::ostream* os) { *os << c.name; }
  int32_t firstRowBefore;
  int32_t x;
  int32_t y;
  int32_t firstRowAfter;
  bool dragging;
};

class ScrollPress : public ::testing::TestWithParam<PressCase> {};

TEST_P(ScrollPress, MovesByARowOrAPageOrStartsADrag) {
  const PressCase& c = GetParam();
  ListScrollBar bar = buyBar(c.firstRowBefore);
  pressScrollBar(bar, c.x, c.y);
  EXPECT_EQ(bar.firstRow, c.firstRowAfter);
  EXPECT_EQ(bar.dragging, c.dragging);
}

// At firstRow 0 the thumb covers y 85..153; at firstRow 5 it covers 134..202.
INSTANTIATE_TEST_SUITE_P(
    Points, ScrollPress,
    ::testing::Values(PressCase{"UpButton", 5, 220, 80, 4, false},
                      PressCase{"UpButtonAtTheTop", 0, 215, 73, 0, false},
                      PressCase{"DownButton", 0, 226, 243, 1, false},
                      PressCase{"DownButtonAtTheEnd", 9, 220, 254, 9, false},
                      PressCase{"TrackBelowTheThumb", 0, 220, 154, 7, false},
                      PressCase{"TrackBelowTheThumbNearTheEnd", 5, 220, 210, 9, false},
                      PressCase{"TrackAboveTheThumb", 5, 220, 133, 0, false},
                      PressCase{"ThumbTop", 0, 220, 85, 0, true}, PressCase{"ThumbEnd", 0, 220, 153, 0, true},
                      PressCase{"LeftOfTheBar", 5, 214, 100, 5, false},
                      PressCase{"RightOfTheBar", 5, 227, 100, 5, false},
                      PressCase{"AboveTheBar", 5, 220, 72, 5, false},
                      PressCase{"BelowTheBar", 5, 220, 255, 5, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScrollPress, DoesNothingWhileTheListFitsTheBar) {
  ListScrollBar bar = buyBar(0, 7);
  pressScrollBar(bar, 220, 250);
  pressScrollBar(bar, 220, 100);
  EXPECT_EQ(bar.firstRow, 0);
  EXPECT_FALSE(bar.dragging);
}

TEST(ScrollPress, RecordsWhereTheDragBegan) {
  ListScrollBar bar = buyBar(3);
  const int32_t onThumb = thumbTop(bar) + 10;
  pressScrollBar(bar, 220, onThumb);
  EXPECT_TRUE(bar.dragging);
  EXPECT_EQ(bar.dragStartY, onThumb);
  EXPECT_EQ(bar.dragStartRow, 3);
}

struct DragCase {
  int32_t dy;
  int32_t firstRow;
};

class ScrollDrag : public ::testing::TestWithParam<DragCase> {};

// The thumb travels 89 pixels (182 - 69 - 24) over 9 rows.
TEST_P(ScrollDrag, FollowsTheMouseWithinTheRows) {
  ListScrollBar bar = buyBar(0);
  pressScrollBar(bar, 220, 100);
  ASSERT_TRUE(bar.dragging);
  dragScrollBar(bar, 100 + GetParam().dy);
  EXPECT_EQ(bar.firstRow, GetParam().firstRow);
}

INSTANTIATE_TEST_SUITE_P(Moves, ScrollDrag,
                         ::testing::Values(DragCase{0, 0}, DragCase{9, 0}, DragCase{10, 1}, DragCase{44, 4},
                                           DragCase{89, 9}, DragCase{500, 9}, DragCase{-50, 0}));

TEST(ScrollDrag, EndsWithTheRelease) {
  ListScrollBar bar = buyBar(0);
  pressScrollBar(bar, 220, 100);
  releaseScrollBar(bar);
  EXPECT_FALSE(bar.dragging);
  dragScrollBar(bar, 200);
  EXPECT_EQ(bar.firstRow, 0);
}

TEST(ScrollDrag, OfAListThatShrankToFitShowsItsTop) {
  ListScrollBar bar = buyBar(0, 8);
  pressScrollBar(bar, 220, 100);
  ASSERT_TRUE(bar.dragging);
  removeRow(bar);
  dragScrollBar(bar, 180);
  EXPECT_EQ(bar.firstRow, 0);
}

struct RemoveCase {
  int32_t rowCount;
  int32_t firstRowBefore;
  int32_t firstRowAfter;
};

class RowRemoved : public ::testing::TestWithParam<RemoveCase> {};

TEST_P(RowRemoved, KeepsTheLastPageFull) {
  ListScrollBar bar = buyBar(GetParam().firstRowBefore, GetParam().rowCount);
  removeRow(bar);
  EXPECT_EQ(bar.rowCount, GetParam().rowCount - 1);
  EXPECT_EQ(bar.firstRow, GetParam().firstRowAfter);
}

INSTANTIATE_TEST_SUITE_P(Rows, RowRemoved,
                         ::testing::Values(RemoveCase{16, 9, 8}, RemoveCase{16, 4, 4}, RemoveCase{8, 1, 0},
                                           RemoveCase{5, 0, 0}, RemoveCase{1, 0, 0}));

}  // namespace
}  // namespace orelog

// The shop and items pages: texts and price colours, the 24-row cut, the packed inventory grid.
#include <gtest/gtest.h>

#include "page_fixture.h"
#include "profile/catalogue.h"
#include "tests/support/list_bar.h"
#include "ui/pages.h"
#include "ui/palette.h"
#include "ui/sprite_regions.h"

namespace orelog {
namespace {

using test::colourOf;
using test::compose;
using test::DrawnText;
using test::label;
using test::rightText;

constexpr int32_t kLadder = 13;  // 18 x 47, the one picture taller than a list row
constexpr Pixel kWhite = palette::kTextWhite;
constexpr Pixel kGrey = palette::kPriceGrey;

ListScrollBar bar(int32_t x, int32_t rowCount, int32_t firstRow = 0) {
  return test::listBar(x, rowCount, firstRow);
}

struct Shop {
  GameScreen screen;
  PlayerRecord record;
};

Shop shopWithCoin(double payout) {
  Shop shop;
  shop.screen.page = kShopPage;
  shop.record.payout = payout;
  shop.record.items = {ownedItemOfKind(kLadder, 100, 100), ownedItemOfKind(0, -1, -1),
                       ownedItemOfKind(10, -1, -1)};
  shop.screen.items.buyBar = bar(215, kItemKindCount);
  shop.screen.items.sellBar = bar(435, 3);
  return shop;
}

std::vector<DrawnText> row(std::u16string price, std::u16string action, int priceX, int actionX, int y,
                           Pixel colour) {
  return {rightText(std::move(price), priceX, y, colour),
          {std::move(action), actionX, y, FontSize::Small, TextAlign::Left, colour}};
}

TEST(ShopPage, DrawsCoinPricesAndActionsGreyWhenUnaffordable) {
  const Shop shop = shopWithCoin(5.0);
  std::vector<DrawnText> expected{label(u"戻る", 490, 284), label(u"所持金", 264, 276),
                                  rightText(u"5 PCC", 440, 276, kWhite)};
  // Prices 2, 5, 10, 15, 3, 8, 1 against a coin of 5: exactly 5 is still affordable.
  const std::pair<const char16_t*, Pixel> buyRows[] = {{u"2 PCC", kWhite},  {u"5 PCC", kWhite},
                                                       {u"10 PCC", kGrey},  {u"15 PCC", kGrey},
                                                       {u"3 PCC", kWhite},  {u"8 PCC", kGrey},
                                                       {u"1 PCC", kWhite}};
  int y = 82;
  for (const auto& [price, colour] : buyRows) {
    for (DrawnText& t : row(price, u"購入", 167, 182, y, colour)) expected.push_back(t);
    y += 26;
  }
  // Sale prices: the ladder (25) sells for 17, the cone (2) for 1, the face mark (50) for 35.
  y = 82;
  for (const char16_t* price : {u"17 PCC", u"1 PCC", u"35 PCC"}) {
    for (DrawnText& t : row(price, u"売却", 387, 402, y, kWhite)) expected.push_back(t);
    y += 26;
  }
  const std::vector<DrawnText> actual = compose(shop.screen, shop.record).texts;
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(actual[i], expected[i]) << i << ": " << test::describe(actual[i]);
  }
}

TEST(ShopPage, CoinIsNeverShownBelowZero) {
  Shop shop = shopWithCoin(10.0);
  shop.record.coinSpent = 13.0;
  const std::vector<DrawnText> texts = compose(shop.screen, shop.record).texts;
  EXPECT_EQ(texts[2], rightText(u"0 PCC", 440, 276, kWhite));
  EXPECT_EQ(texts[3].colour, kGrey);  // even the cheapest kind costs more than nothing
}

TEST(ShopPage, BuyListScrollsToTheLastKindAndCutsTheLadderTo24Rows) {
  Shop shop = shopWithCoin(100.0);
  shop.screen.items.buyBar.firstRow = 9;
  const test::Composed page = compose(shop.screen, shop.record);
  // Kinds 9..15 show; the ladder is row 4 (y = 186), centred on y + 6 as a 24-row picture.
  EXPECT_EQ(page.texts[3], rightText(u"8 PCC", 167, 82, kWhite));
  EXPECT_EQ(page.texts[3 + 2 * 6], rightText(u"10 PCC", 167, 238, kWhite));
  EXPECT_EQ(page.texts.size(), 3u + 2 * 7 + 2 * 3);
  const Pixel ladder = colourOf(itemRegion(kLadder));
  EXPECT_EQ(page.canvas.at(63, 180), ladder);
  EXPECT_EQ(page.canvas.at(80, 203), ladder);
  EXPECT_NE(page.canvas.at(63, 204), ladder);
  EXPECT_NE(page.canvas.at(63, 179), ladder);
}

TEST(ShopPage, SellListShowsPlacedAndUnplacedItemsStandingOnTheirRow) {
  const Shop shop = shopWithCoin(0.0);
  const test::Composed page = compose(shop.screen, shop.record);
  // Row 0 (y = 82): the placed ladder, cut to 24 rows, its bottom on y + 6 = 88.
  const Pixel ladder = colourOf(itemRegion(kLadder));
  EXPECT_EQ(page.canvas.at(292 - 9, 64), ladder);
  EXPECT_EQ(page.canvas.at(292 + 8, 87), ladder);
  EXPECT_NE(page.canvas.at(292 - 9, 88), ladder);
  // Row 1 (y = 108): the cone, 16 x 17, bottom on 114.
  EXPECT_EQ(page.canvas.at(284, 97), colourOf(itemRegion(0)));
  EXPECT_EQ(page.canvas.at(299, 113), colourOf(itemRegion(0)));
  // Row 2 (y = 134): the face mark, 46 x 10, bottom on 140.
  EXPECT_EQ(page.canvas.at(269, 130), colourOf(itemRegion(10)));
}

TEST(ShopPage, BuyPicturesAreCentredOnTheRow) {
  const Shop shop = shopWithCoin(0.0);
  const test::Composed page = compose(shop.screen, shop.record);
  // Kind 0 (16 x 17) in row 0: at (72 - 8, 82 - 8 + 6).
  EXPECT_EQ(page.canvas.at(64, 80), colourOf(itemRegion(0)));
  EXPECT_EQ(page.canvas.at(79, 96), colourOf(itemRegion(0)));
  EXPECT_NE(page.canvas.at(63, 80), colourOf(itemRegion(0)));
}

TEST(ShopPage, PaintsBackgroundFramesAndBothScrollBars) {
  Shop shop = shopWithCoin(0.0);
  const test::Composed page = compose(shop.screen, shop.record);
  EXPECT_EQ(page.canvas.at(0, 299), palette::kPageBlue);
  EXPECT_EQ(page.canvas.at(32, 16), colourOf(sprites::kShopBanner));
  EXPECT_EQ(page.canvas.at(252, 273), colourOf(sprites::kBluePanel));  // the coin box
  EXPECT_EQ(page.canvas.at(215, 73), palette::kScrollButtonGrey);       // 16 kinds: buy bar drawn
  EXPECT_NE(page.canvas.at(435, 73), palette::kScrollButtonGrey);       // 3 items: no sell bar
}

struct Inventory {
  GameScreen screen;
  PlayerRecord record;
};

// Placed and unplaced items interleaved: kinds 0..unplacedCount-1 (mod 13) in the inventory.
Inventory inventory(int unplacedCount, int32_t firstRow = 0) {
  Inventory inv;
  inv.screen.page = kItemsPage;
  for (int i = 0; i < unplacedCount; ++i) {
    inv.record.items.push_back(ownedItemOfKind(5, 40 + i, 120));  // placed: never in the grid
    inv.record.items.push_back(ownedItemOfKind(i % 13, -1, -1));
  }
  inv.screen.items.itemsBar = bar(397, (unplacedCount + 4) / 5, firstRow);
  inv.screen.items.unplacedCount = unplacedCount;
  return inv;
}

// The top-left pixel of the picture in grid cell `cell`, centred on (69 + 72 c, 87 + 26 r).
Pixel cellPixel(const Canvas& canvas, int cell, int32_t kind) {
  const SpriteRegion r = cutToListRow(itemRegion(kind));
  return canvas.at(69 + 72 * (cell % 5) - r.width / 2, 87 + 26 * (cell / 5) - r.height / 2);
}

TEST(ItemsPage, GridPacksTheUnplacedItemsWithoutGaps) {
  const Inventory inv = inventory(6);
  const test::Composed page = compose(inv.screen, inv.record);
  for (int cell = 0; cell < 6; ++cell) {
    EXPECT_EQ(cellPixel(page.canvas, cell, cell), colourOf(itemRegion(cell))) << cell;
  }
  EXPECT_EQ(page.canvas.at(69, 87 + 26), colourOf(itemRegion(5)));
  EXPECT_EQ(page.canvas.at(141, 113), colourOf(sprites::kBluePanel));  // cell 6 is empty
  EXPECT_EQ(page.texts, std::vector<DrawnText>{label(u"戻る", 490, 284)});
}

TEST(ItemsPage, GridHoldsOnlyTheInventoryNotItemsLyingPastTheLeftEdge) {
  Inventory inv;
  inv.screen.page = kItemsPage;
  inv.record.items = {ownedItemOfKind(10, -13, 142), ownedItemOfKind(0, -1, -1)};
  const test::Composed page = compose(inv.screen, inv.record);
  // The cone takes cell 0, as taking from the grid counts it; the face mark is on the top page.
  EXPECT_EQ(cellPixel(page.canvas, 0, 0), colourOf(itemRegion(0)));
  for (const Pixel pixel : page.canvas.storage) ASSERT_NE(pixel, colourOf(itemRegion(10)));
}

TEST(ItemsPage, ScrolledGridSkipsWholeRowsAndStopsAfterSevenRows) {
  const Inventory inv = inventory(45, 2);  // nine rows; rows 2..8 show
  const test::Composed page = compose(inv.screen, inv.record);
  for (int cell = 0; cell < 35; ++cell) {
    const int32_t kind = (cell + 10) % 13;
    EXPECT_EQ(cellPixel(page.canvas, cell, kind), colourOf(itemRegion(kind))) << cell;
  }
  // An eighth row would begin at y = 259 with kind 6 (13 x 20); the frame shows there instead.
  EXPECT_EQ(page.canvas.at(69, 259), colourOf(sprites::kBluePanel));
}

TEST(ItemsPage, LadderInTheGridShowsItsTop24Rows) {
  Inventory inv;
  inv.screen.page = kItemsPage;
  inv.record.items = {ownedItemOfKind(kLadder, -1, -1)};
  const test::Composed page = compose(inv.screen, inv.record);
  const Pixel ladder = colourOf(itemRegion(kLadder));
  EXPECT_EQ(page.canvas.at(60, 75), ladder);  // (69 - 9, 87 - 12)
  EXPECT_EQ(page.canvas.at(77, 98), ladder);
  EXPECT_NE(page.canvas.at(60, 99), ladder);
}

// Pixel rows of a scroll bar's middle column, from its top.
std::vector<Pixel> barColumn(const Canvas& canvas, const ListScrollBar& b) {
  std::vector<Pixel> column;
  for (int y = b.y; y < b.y + b.height; ++y) column.push_back(canvas.at(b.x + 6, y));
  return column;
}

struct ThumbCase {
  int32_t rowCount, firstRow;
  int32_t top, length;
};

TEST(ListScrollBarDrawing, ThumbLengthAndTopFollowTheRows) {
  const ThumbCase cases[] = {
      {16, 0, 85, 69}, {16, 9, 174, 69}, {16, 4, 124, 69}, {8, 0, 85, 138}, {8, 1, 105, 138}, {100, 93, 232, 11},
  };
  for (const ThumbCase& c : cases) {
    const ListScrollBar b = bar(215, c.rowCount, c.firstRow);
    EXPECT_EQ(scrollThumb(b).top, c.top) << c.rowCount << " " << c.firstRow;
    EXPECT_EQ(scrollThumb(b).length, c.length) << c.rowCount << " " << c.firstRow;

    Canvas canvas = makeCanvas();
    drawListScrollBar(canvas, b);
    const std::vector<Pixel> column = barColumn(canvas, b);
    for (int i = 0; i < b.height; ++i) {
      const int y = b.y + i;
      const Pixel expected = (i < 12 || i >= b.height - 12)       ? palette::kScrollButtonGrey
                             : (y >= c.top && y < c.top + c.length) ? palette::kScrollThumbGrey
                                                                    : palette::kScrollTrack;
      ASSERT_EQ(column[i], expected) << "y " << y << " rows " << c.rowCount << " first " << c.firstRow;
    }
    EXPECT_EQ(canvas.at(b.x - 1, 100), rgb(0, 0, 0));
    EXPECT_EQ(canvas.at(b.x + 12, 100), rgb(0, 0, 0));
  }
}

TEST(ListScrollBarDrawing, NothingAtSevenRowsOrFewer) {
  for (const int32_t rows : {0, 1, 7}) {
    Canvas canvas = makeCanvas();
    drawListScrollBar(canvas, bar(215, rows));
    for (const Pixel pixel : canvas.storage) ASSERT_EQ(pixel, rgb(0, 0, 0)) << rows;
  }
}

TEST(ListScrollBarDrawing, FirstRowOutsideItsRangeKeepsTheThumbInsideTheTrack) {
  EXPECT_EQ(scrollThumb(bar(215, 16, 50)).top, 174);
  EXPECT_EQ(scrollThumb(bar(215, 16, -3)).top, 85);
}

}  // namespace
}  // namespace orelog

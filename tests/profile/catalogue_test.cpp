// The item catalogue: the 16 entries, the sale-price rule and kinds outside the table.
#include "profile/catalogue.h"

#include <gtest/gtest.h>

namespace orelog {
namespace {

struct Entry {
  int32_t left, top, width, height, price, salePrice;
};

// Kind 13 is the tall one (47 rows); prices 1 and 2 both sell for 1.
constexpr Entry kExpected[kItemKindCount] = {
    {0, 32, 16, 17, 2, 1},     {32, 32, 14, 17, 5, 3},    {64, 32, 14, 25, 10, 7},   {96, 32, 25, 12, 15, 10},
    {128, 32, 14, 10, 3, 2},   {160, 32, 21, 21, 8, 5},   {0, 64, 13, 20, 1, 1},     {32, 64, 15, 11, 1, 1},
    {64, 64, 19, 15, 5, 3},    {96, 64, 19, 13, 8, 5},    {128, 64, 46, 10, 50, 35}, {192, 64, 19, 15, 4, 2},
    {224, 64, 16, 20, 2, 1},   {256, 32, 18, 47, 25, 17}, {320, 64, 35, 35, 10, 7},  {384, 64, 35, 34, 10, 7},
};

TEST(Catalogue, HoldsTheSixteenKindsInIndexOrder) {
  for (int32_t kind = 0; kind < kItemKindCount; ++kind) {
    const Entry& want = kExpected[kind];
    const SpriteRegion region = itemRegion(kind);
    EXPECT_EQ(region.x, want.left) << kind;
    EXPECT_EQ(region.y, want.top) << kind;
    EXPECT_EQ(region.width, want.width) << kind;
    EXPECT_EQ(region.height, want.height) << kind;
    EXPECT_EQ(itemPrice(kind), want.price) << kind;
    EXPECT_EQ(itemSalePrice(kind), want.salePrice) << kind;
  }
}

TEST(Catalogue, KnowsWhichIndexesAreKinds) {
  EXPECT_TRUE(isItemKind(0));
  EXPECT_TRUE(isItemKind(15));
  EXPECT_FALSE(isItemKind(16));
  EXPECT_FALSE(isItemKind(-1));
  EXPECT_FALSE(isItemKind(int64_t{1} << 32));
}

// Asking for a kind outside the table is a bug that assertions catch; without them the answer is
// an empty, free item and nothing is read past the table.
TEST(CatalogueDeathTest, KindsOutsideTheTableAreCaughtOrHarmless) {
  for (int32_t kind : {16, -1, INT32_MIN, INT32_MAX}) {
    [[maybe_unused]] SpriteRegion region{1, 1, 1, 1};
    [[maybe_unused]] int32_t price = -1;
    [[maybe_unused]] int32_t sale = -1;
    EXPECT_DEBUG_DEATH(region = itemRegion(kind), "outside the catalogue");
    EXPECT_DEBUG_DEATH(price = itemPrice(kind), "outside the catalogue");
    EXPECT_DEBUG_DEATH(sale = itemSalePrice(kind), "outside the catalogue");
#ifdef NDEBUG
    EXPECT_EQ(region.width, 0);
    EXPECT_EQ(region.height, 0);
    EXPECT_EQ(price, 0);
    EXPECT_EQ(sale, 0);
#endif
  }
}

}  // namespace
}  // namespace orelog

// The fixed table of the 16 item kinds the shop sells: sprite region, price and sale price.
#include "profile/catalogue.h"

#include <array>
#include <cassert>

namespace orelog {

namespace {

// Sprite regions and prices are two parallel lists, filled together in index order.
constexpr std::array<SpriteRegion, kItemKindCount> kRegions{{
    {0, 32, 16, 17},   {32, 32, 14, 17},  {64, 32, 14, 25},  {96, 32, 25, 12},
    {128, 32, 14, 10}, {160, 32, 21, 21}, {0, 64, 13, 20},   {32, 64, 15, 11},
    {64, 64, 19, 15},  {96, 64, 19, 13},  {128, 64, 46, 10}, {192, 64, 19, 15},
    {224, 64, 16, 20}, {256, 32, 18, 47}, {320, 64, 35, 35}, {384, 64, 35, 34},
}};

constexpr std::array<int32_t, kItemKindCount> kPrices{2, 5, 10, 15, 3, 8, 1, 1, 5, 8, 50, 4, 2, 25, 10, 10};

constexpr int32_t kSaleNumerator = 7;
constexpr int32_t kSaleDenominator = 10;
constexpr int32_t kMinimumSalePrice = 1;

}  // namespace

// A kind outside the table is a caller's bug; in release builds it is an empty, free item so that
// nothing reads past the table and no coin is created from it.
SpriteRegion itemRegion(int32_t kind) {
  assert(isItemKind(kind) && "item kind outside the catalogue");
  if (!isItemKind(kind)) return {};
  return kRegions[static_cast<std::size_t>(kind)];
}

int32_t itemPrice(int32_t kind) {
  assert(isItemKind(kind) && "item kind outside the catalogue");
  if (!isItemKind(kind)) return 0;
  return kPrices[static_cast<std::size_t>(kind)];
}

int32_t itemSalePrice(int32_t kind) {
  assert(isItemKind(kind) && "item kind outside the catalogue");
  if (!isItemKind(kind)) return 0;
  const int32_t sale = itemPrice(kind) * kSaleNumerator / kSaleDenominator;
  return sale < kMinimumSalePrice ? kMinimumSalePrice : sale;
}

OwnedItem ownedItemOfKind(int32_t kind, int32_t x, int32_t y) {
  const SpriteRegion picture = itemRegion(kind);
  return OwnedItem{kind, x, y, picture.width, picture.height};
}

}  // namespace orelog

// The fixed table of the 16 item kinds the shop sells: sprite region, price and sale price.
#pragma once
#include <cstdint>

#include "profile/player_record.h"
#include "util/geometry.h"

namespace orelog {

inline constexpr int32_t kItemKindCount = 16;

constexpr bool isItemKind(int64_t kind) { return kind >= 0 && kind < kItemKindCount; }
SpriteRegion itemRegion(int32_t kind);
int32_t itemPrice(int32_t kind);
// price * 7 / 10, truncated, but at least 1
int32_t itemSalePrice(int32_t kind);

// An item of `kind` at (x, y), as large as its picture; by default not placed.
OwnedItem ownedItemOfKind(int32_t kind, int32_t x = -1, int32_t y = -1);

}  // namespace orelog

// Helpers shared by the game-rule tests: owned items of a kind.
#pragma once
#include <gtest/gtest.h>

#include "game/catalogue.h"
#include "profile/player_record.h"

namespace orelog::testing {

inline OwnedItem itemOfKind(int32_t kind, int32_t x = -1, int32_t y = -1) {
  const SpriteRegion picture = itemRegion(kind);
  return OwnedItem{kind, x, y, picture.width, picture.height};
}

}  // namespace orelog::testing
